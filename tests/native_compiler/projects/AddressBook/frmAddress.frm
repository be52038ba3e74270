VERSION 5.00
Begin VB.Form frmAddress 
   BorderStyle     =   1  'Fixed Single
   Caption         =   "Adressbuch"
   ClientHeight    =   4590
   ClientLeft      =   45
   ClientTop       =   435
   ClientWidth     =   6840
   BeginProperty Font 
      Name            =   "Tahoma"
      Size            =   8.25
      Charset         =   0
      Weight          =   400
      Underline       =   0   'False
      Italic          =   0   'False
      Strikethrough   =   0   'False
   EndProperty
   LinkTopic       =   "Form1"
   MaxButton       =   0   'False
   ScaleHeight     =   4590
   ScaleWidth      =   6840
   StartUpPosition =   2  'CenterScreen
   Begin VB.ListBox lstNames 
      Height          =   3960
      Left            =   120
      TabIndex        =   0
      Top             =   120
      Width           =   2535
   End
   Begin VB.Label lblField 
      Caption         =   "Name:"
      Height          =   255
      Left            =   2880
      TabIndex        =   0
      Top             =   180
      Width           =   975
      Index           =   0
   End
   Begin VB.Label lblField 
      Caption         =   "Téléphone:"
      Height          =   255
      Left            =   2880
      TabIndex        =   0
      Top             =   660
      Width           =   975
      Index           =   1
   End
   Begin VB.Label lblField 
      Caption         =   "E-Mail:"
      Height          =   255
      Left            =   2880
      TabIndex        =   0
      Top             =   1140
      Width           =   975
      Index           =   2
   End
   Begin VB.TextBox txtField 
      Text            =   ""
      Height          =   375
      Left            =   3960
      TabIndex        =   0
      Top             =   120
      Width           =   2655
      Index           =   0
   End
   Begin VB.TextBox txtField 
      Text            =   ""
      Height          =   375
      Left            =   3960
      TabIndex        =   0
      Top             =   600
      Width           =   2655
      Index           =   1
   End
   Begin VB.TextBox txtField 
      Text            =   ""
      Height          =   375
      Left            =   3960
      TabIndex        =   0
      Top             =   1080
      Width           =   2655
      Index           =   2
   End
   Begin VB.CommandButton cmdAdd 
      Caption         =   "&Add"
      Height          =   375
      Left            =   2880
      TabIndex        =   0
      Top             =   1680
      Width           =   1095
   End
   Begin VB.CommandButton cmdSave 
      Caption         =   "&Save"
      Height          =   375
      Left            =   4080
      TabIndex        =   0
      Top             =   1680
      Width           =   1095
   End
   Begin VB.CommandButton cmdDelete 
      Caption         =   "&Delete"
      Height          =   375
      Left            =   5280
      TabIndex        =   0
      Top             =   1680
      Width           =   1095
   End
End
Attribute VB_Name = "frmAddress"
Attribute VB_GlobalNameSpace = False
Attribute VB_Creatable = False
Attribute VB_PredeclaredId = True
Attribute VB_Exposed = False
Option Explicit

Private Sub Form_Load()
    LoadContacts App.Path & "\contacts.dat"
    RefreshList
End Sub

Private Sub RefreshList()
    Dim i As Long
    lstNames.Clear
    For i = 1 To gCount
        lstNames.AddItem Trim$(gContacts(i).Name)
    Next i
End Sub

Private Sub cmdAdd_Click()
    Dim c As Contact
    If Len(Trim$(txtField(0).Text)) = 0 Then
        MsgBox "Please enter a name.", vbInformation, "Address book"
        txtField(0).SetFocus
        Exit Sub
    End If
    c.Name = txtField(0).Text
    c.Phone = txtField(1).Text
    c.Mail = txtField(2).Text
    AddContact c
    RefreshList
End Sub

Private Sub cmdSave_Click()
    SaveContacts App.Path & "\contacts.dat"
End Sub

Private Sub cmdDelete_Click()
    If lstNames.ListIndex >= 0 Then
        RemoveContact lstNames.ListIndex + 1
        RefreshList
    End If
End Sub

Private Sub lstNames_Click()
    Dim i As Integer
    If lstNames.ListIndex < 0 Then Exit Sub
    With gContacts(lstNames.ListIndex + 1)
        txtField(0).Text = Trim$(.Name)
        txtField(1).Text = Trim$(.Phone)
        txtField(2).Text = Trim$(.Mail)
    End With
End Sub

Private Sub txtField_GotFocus(Index As Integer)
    txtField(Index).SelStart = 0
    txtField(Index).SelLength = Len(txtField(Index).Text)
End Sub

Private Sub Form_QueryUnload(Cancel As Integer, UnloadMode As Integer)
    If MsgBox("Save changes?", vbYesNo + vbQuestion, "Address book") = vbYes Then
        SaveContacts App.Path & "\contacts.dat"
    End If
End Sub
