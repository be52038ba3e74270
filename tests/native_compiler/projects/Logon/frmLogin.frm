VERSION 5.00
Begin VB.Form frmLogin 
   Caption         =   "Login"
   ClientHeight    =   1695
   ClientLeft      =   60
   ClientTop       =   345
   ClientWidth     =   3735
   LinkTopic       =   "Form1"
   ScaleHeight     =   1695
   ScaleWidth      =   3735
   StartUpPosition =   3  'Windows Default
   Begin VB.TextBox txtUser 
      Height          =   315
      Left            =   1320
      TabIndex        =   0
      Top             =   180
      Width           =   2295
   End
   Begin VB.TextBox txtPassword 
      PasswordChar    =   "*"
      Height          =   315
      Left            =   1320
      TabIndex        =   1
      Top             =   600
      Width           =   2295
   End
   Begin VB.CommandButton cmdOK 
      Caption         =   "OK"
      Default         =   -1  'True
      Height          =   375
      Left            =   1320
      TabIndex        =   2
      Top             =   1140
      Width           =   1095
   End
   Begin VB.CommandButton cmdCancel 
      Caption         =   "Cancel"
      Cancel          =   -1  'True
      Height          =   375
      Left            =   2520
      TabIndex        =   3
      Top             =   1140
      Width           =   1095
   End
   Begin VB.Label lblUser 
      Caption         =   "&User name:"
      Height          =   255
      Left            =   120
      Top             =   210
      Width           =   1095
   End
   Begin VB.Label lblPassword 
      Caption         =   "&Password:"
      Height          =   255
      Left            =   120
      Top             =   630
      Width           =   1095
   End
End
Attribute VB_Name = "frmLogin"
Attribute VB_GlobalNameSpace = False
Attribute VB_Creatable = False
Attribute VB_PredeclaredId = True
Attribute VB_Exposed = False
Option Explicit

Public LoginSucceeded As Boolean
Public UserName As String
Private mTries As Integer

Private Sub cmdCancel_Click()
    LoginSucceeded = False
    Me.Hide
End Sub

Private Sub cmdOK_Click()
    mTries = mTries + 1
    If txtPassword.Text = "secret" Then
        LoginSucceeded = True
        UserName = txtUser.Text
        Me.Hide
    Else
        MsgBox "Invalid password, try again!", vbExclamation, "Login"
        txtPassword.SetFocus
        txtPassword.SelStart = 0
        txtPassword.SelLength = Len(txtPassword.Text)
        If mTries >= 3 Then Unload Me
    End If
End Sub

Private Sub Form_Load()
    txtUser.Text = "guest"
    Caption = "Login - " & App.Title
End Sub
