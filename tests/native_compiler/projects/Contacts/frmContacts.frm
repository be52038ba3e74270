VERSION 5.00
Begin VB.Form frmContacts 
   Caption         =   "Contacts"
   ClientHeight    =   3975
   ClientLeft      =   60
   ClientTop       =   345
   ClientWidth     =   4095
   LinkTopic       =   "Form1"
   ScaleHeight     =   3975
   ScaleWidth      =   4095
   StartUpPosition =   3  'Windows Default
   Begin VB.TextBox txtName 
      Tag             =   "Name"
      Height          =   315
      Left            =   1200
      TabIndex        =   0
      Top             =   120
      Width           =   2775
   End
   Begin VB.TextBox txtPhone 
      Tag             =   "Phone"
      Height          =   315
      Left            =   1200
      TabIndex        =   1
      Top             =   540
      Width           =   2775
   End
   Begin VB.TextBox txtMail 
      Tag             =   "E-mail"
      Height          =   315
      Left            =   1200
      TabIndex        =   2
      Top             =   960
      Width           =   2775
   End
   Begin VB.CheckBox chkFavourite 
      Caption         =   "Favourite"
      Height          =   255
      Left            =   1200
      TabIndex        =   3
      Top             =   1380
      Width           =   1695
   End
   Begin VB.CommandButton cmdSave 
      Caption         =   "&Save"
      Enabled         =   0   'False
      Height          =   375
      Left            =   1200
      TabIndex        =   4
      Top             =   1800
      Width           =   1215
   End
   Begin VB.CommandButton cmdClear 
      Caption         =   "&Clear"
      Height          =   375
      Left            =   2520
      TabIndex        =   5
      Top             =   1800
      Width           =   1215
   End
   Begin VB.ListBox lstContacts 
      Height          =   1230
      Left            =   120
      TabIndex        =   6
      Top             =   2280
      Width           =   3855
   End
   Begin VB.Label lblName 
      Caption         =   "Name:"
      Height          =   255
      Left            =   120
      Top             =   150
      Width           =   975
   End
   Begin VB.Label lblPhone 
      Caption         =   "Phone:"
      Height          =   255
      Left            =   120
      Top             =   570
      Width           =   975
   End
   Begin VB.Label lblMail 
      Caption         =   "E-mail:"
      Height          =   255
      Left            =   120
      Top             =   990
      Width           =   975
   End
   Begin VB.Label lblStatus 
      Caption         =   "Ready"
      Height          =   255
      Left            =   120
      Top             =   3600
      Width           =   3855
   End
End
Attribute VB_Name = "frmContacts"
Attribute VB_GlobalNameSpace = False
Attribute VB_Creatable = False
Attribute VB_PredeclaredId = True
Attribute VB_Exposed = False
Option Explicit

Private mCount As Integer

Private Sub ClearBox(t As TextBox)
    t.Text = ""
    t.BackColor = vbWindowBackground
End Sub

Private Function Required(t As TextBox) As Boolean
    If Len(Trim$(t.Text)) = 0 Then
        t.BackColor = RGB(255, 255, 192)
        lblStatus.Caption = t.Tag & " is required"
        Required = False
    Else
        t.BackColor = vbWindowBackground
        Required = True
    End If
End Function

Private Sub ClearAll()
    Dim ctl As Control
    For Each ctl In Me.Controls
        If TypeOf ctl Is TextBox Then
            ClearBox ctl
        ElseIf TypeOf ctl Is CheckBox Then
            ctl.Value = vbUnchecked
        End If
    Next ctl
    cmdSave.Enabled = False
End Sub

Private Function Summary() As String
    Dim ctl As Control, s As String
    For Each ctl In Controls
        If TypeName(ctl) = "TextBox" Then
            If Len(ctl.Text) > 0 Then s = s & ctl.Tag & "=" & ctl.Text & ";"
        End If
    Next
    Summary = s
End Function

Private Sub cmdClear_Click()
    ClearAll
    lblStatus.Caption = "Cleared"
    Debug.Print "cleared " & Summary()
End Sub

Private Sub cmdSave_Click()
    If Not Required(txtName) Then Debug.Print lblStatus.Caption: Exit Sub
    If Not Required(txtPhone) Then Debug.Print lblStatus.Caption: Exit Sub
    mCount = mCount + 1
    lstContacts.AddItem txtName.Text & IIf(chkFavourite.Value = vbChecked, " *", "")
    lblStatus.Caption = mCount & " saved"
    Debug.Print "saved " & Summary()
    ClearAll
End Sub

Private Sub Form_Load()
    Dim t As TextBox
    txtName.Tag = "Name"
    txtPhone.Tag = "Phone"
    txtMail.Tag = "E-mail"
    Set t = txtName
    t.Text = "Ada"
    txtPhone.Text = "555-0100"
    Debug.Print "load " & Summary() & " " & TypeName(t) & " " & (t Is txtName)
End Sub

Private Sub txtName_Change()
    cmdSave.Enabled = Len(txtName.Text) > 0
End Sub
