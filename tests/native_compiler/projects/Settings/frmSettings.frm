VERSION 5.00
Begin VB.Form frmSettings 
   BorderStyle     =   1  'Fixed Single
   Caption         =   "Settings"
   ClientHeight    =   3600
   ClientLeft      =   45
   ClientTop       =   435
   ClientWidth     =   4680
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
   ScaleHeight     =   3600
   ScaleWidth      =   4680
   StartUpPosition =   2  'CenterScreen
   Begin VB.Frame fraSize 
      Caption         =   "Font size"
      Height          =   1215
      Left            =   120
      TabIndex        =   0
      Top             =   120
      Width           =   1815
      Begin VB.OptionButton optSize 
         Caption         =   "Small"
         Height          =   255
         Left            =   120
         TabIndex        =   0
         Top             =   240
         Width           =   1455
         Index           =   0
      End
      Begin VB.OptionButton optSize 
         Caption         =   "Medium"
         Height          =   255
         Left            =   120
         TabIndex        =   0
         Top             =   540
         Width           =   1455
         Index           =   1
      End
      Begin VB.OptionButton optSize 
         Caption         =   "Large"
         Height          =   255
         Left            =   120
         TabIndex        =   0
         Top             =   840
         Width           =   1455
         Index           =   2
      End
   End
   Begin VB.CheckBox chkAutoSave 
      Caption         =   "Save automatically"
      Height          =   255
      Left            =   2160
      TabIndex        =   0
      Top             =   240
      Width           =   2295
   End
   Begin VB.CheckBox chkBackup 
      Caption         =   "Keep a backup copy"
      Height          =   255
      Left            =   2160
      TabIndex        =   0
      Top             =   600
      Width           =   2295
   End
   Begin VB.Label lblServer 
      Caption         =   "Server:"
      Height          =   255
      Left            =   120
      TabIndex        =   0
      Top             =   1560
      Width           =   855
   End
   Begin VB.TextBox txtServer 
      Text            =   "localhost"
      Height          =   315
      Left            =   1080
      TabIndex        =   0
      Top             =   1500
      Width           =   3375
   End
   Begin VB.Label lblPort 
      Caption         =   "Port:"
      Height          =   255
      Left            =   120
      TabIndex        =   0
      Top             =   1980
      Width           =   855
   End
   Begin VB.TextBox txtPort 
      Text            =   "8080"
      Height          =   315
      Left            =   1080
      TabIndex        =   0
      Top             =   1920
      Width           =   975
   End
   Begin VB.CommandButton cmdOK 
      Caption         =   "OK"
      Default         =   -1  'True
      Height          =   375
      Left            =   2160
      TabIndex        =   0
      Top             =   3000
      Width           =   1095
   End
   Begin VB.CommandButton cmdCancel 
      Caption         =   "Cancel"
      Cancel          =   -1  'True
      Height          =   375
      Left            =   3360
      TabIndex        =   0
      Top             =   3000
      Width           =   1095
   End
End
Attribute VB_Name = "frmSettings"
Attribute VB_GlobalNameSpace = False
Attribute VB_Creatable = False
Attribute VB_PredeclaredId = True
Attribute VB_Exposed = False
Option Explicit

Private Sub Form_Initialize()
    LoadSettings
End Sub

Private Sub Form_Load()
    With gSettings
        chkAutoSave.Value = IIf(.AutoSave, vbChecked, vbUnchecked)
        chkBackup.Value = IIf(.Backup, vbChecked, vbUnchecked)
        txtServer.Text = .Server
        txtPort.Text = CStr(.Port)
        optSize(.FontSize).Value = True
    End With
    With txtServer
        .SelStart = 0
        .SelLength = Len(.Text)
    End With
End Sub

Private Sub optSize_Click(Index As Integer)
    gSettings.FontSize = Index
End Sub

Private Sub txtPort_KeyPress(KeyAscii As Integer)
    If KeyAscii <> 8 And (KeyAscii < 48 Or KeyAscii > 57) Then KeyAscii = 0
End Sub

Private Sub txtPort_LostFocus()
    If Val(txtPort.Text) < 1 Or Val(txtPort.Text) > 65535 Then txtPort.Text = "8080"
End Sub

Private Sub cmdOK_Click()
    With gSettings
        .AutoSave = (chkAutoSave.Value = vbChecked)
        .Backup = (chkBackup.Value = vbChecked)
        .Server = Trim$(txtServer.Text)
        .Port = CLng(Val(txtPort.Text))
    End With
    SaveSettings
    Unload Me
End Sub

Private Sub cmdCancel_Click()
    Unload Me
End Sub
