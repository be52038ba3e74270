VERSION 5.00
Begin VB.Form frmMain 
   Caption         =   "Main"
   ClientHeight    =   1455
   ClientLeft      =   60
   ClientTop       =   345
   ClientWidth     =   4575
   LinkTopic       =   "Form1"
   ScaleHeight     =   1455
   ScaleWidth      =   4575
   StartUpPosition =   3  'Windows Default
   Begin VB.Label lblWelcome 
      Caption         =   "Welcome"
      Height          =   375
      Left            =   240
      Top             =   240
      Width           =   4095
   End
   Begin VB.CommandButton cmdSwitch 
      Caption         =   "&Switch user"
      Height          =   375
      Left            =   240
      TabIndex        =   0
      Top             =   840
      Width           =   1815
   End
   Begin VB.CommandButton cmdExit 
      Caption         =   "E&xit"
      Height          =   375
      Left            =   2520
      TabIndex        =   1
      Top             =   840
      Width           =   1815
   End
End
Attribute VB_Name = "frmMain"
Attribute VB_GlobalNameSpace = False
Attribute VB_Creatable = False
Attribute VB_PredeclaredId = True
Attribute VB_Exposed = False
Option Explicit

Private mUser As String

Private Function AskLogin() As Boolean
    frmLogin.Show vbModal, Me
    AskLogin = frmLogin.LoginSucceeded
    If AskLogin Then mUser = frmLogin.UserName
    Unload frmLogin
End Function

Private Sub ShowUser()
    lblWelcome.Caption = "Welcome, " & mUser
    Caption = App.Title & " - " & mUser
    Debug.Print Caption
End Sub

Private Sub cmdExit_Click()
    Unload Me
End Sub

Private Sub cmdSwitch_Click()
    If AskLogin() Then
        ShowUser
    Else
        Debug.Print "switch cancelled, still " & mUser
    End If
End Sub

Private Sub Form_Load()
    Debug.Print "asking"
    If Not AskLogin() Then
        Debug.Print "login failed"
        Unload Me
        Exit Sub
    End If
    ShowUser
End Sub

Private Sub Form_Unload(Cancel As Integer)
    Debug.Print "bye " & mUser
End Sub
