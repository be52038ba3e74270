VERSION 5.00
Begin VB.Form frmGame 
   BorderStyle     =   1  'Fixed Single
   Caption         =   "Catch Me"
   ClientHeight    =   4500
   ClientLeft      =   45
   ClientTop       =   435
   ClientWidth     =   6000
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
   ScaleHeight     =   4500
   ScaleWidth      =   6000
   StartUpPosition =   2  'CenterScreen
   Begin VB.Timer tmrMove 
      Interval        =   500
      Left            =   5400
      Top             =   3960
   End
   Begin VB.Timer tmrClock 
      Interval        =   1000
      Left            =   4920
      Top             =   3960
   End
   Begin VB.CommandButton cmdTarget 
      Caption         =   "Catch!"
      Height          =   495
      Left            =   2400
      TabIndex        =   0
      Top             =   1800
      Width           =   1095
   End
   Begin VB.Label lblScore 
      Caption         =   "Score: 0"
      Height          =   255
      Left            =   120
      TabIndex        =   0
      Top             =   120
      Width           =   1695
   End
   Begin VB.Label lblTime 
      Caption         =   "Time: 30"
      Height          =   255
      Left            =   4200
      TabIndex        =   0
      Top             =   120
      Width           =   1695
   End
   Begin VB.CommandButton cmdStart 
      Caption         =   "&Start"
      Height          =   375
      Left            =   120
      TabIndex        =   0
      Top             =   3960
      Width           =   1095
   End
End
Attribute VB_Name = "frmGame"
Attribute VB_GlobalNameSpace = False
Attribute VB_Creatable = False
Attribute VB_PredeclaredId = True
Attribute VB_Exposed = False
Option Explicit

Private mScore As Integer
Private mSecondsLeft As Integer

Private Sub Form_Load()
    Randomize
    tmrMove.Enabled = False
    tmrClock.Enabled = False
End Sub

Private Sub cmdStart_Click()
    mScore = 0
    mSecondsLeft = 30
    lblScore.Caption = "Score: 0"
    lblTime.Caption = "Time: 30"
    tmrMove.Interval = 700
    tmrMove.Enabled = True
    tmrClock.Enabled = True
    cmdStart.Enabled = False
End Sub

Private Sub tmrMove_Timer()
    cmdTarget.Left = Int(Rnd * (Me.ScaleWidth - cmdTarget.Width))
    cmdTarget.Top = Int(Rnd * (Me.ScaleHeight - cmdTarget.Height - 600)) + 400
End Sub

Private Sub tmrClock_Timer()
    mSecondsLeft = mSecondsLeft - 1
    lblTime.Caption = "Time: " & mSecondsLeft
    If mSecondsLeft <= 0 Then
        tmrMove.Enabled = False
        tmrClock.Enabled = False
        cmdStart.Enabled = True
        MsgBox "Game over! Your score: " & mScore, vbInformation, "Catch Me"
    End If
End Sub

Private Sub cmdTarget_Click()
    If Not tmrMove.Enabled Then Exit Sub
    mScore = mScore + 1
    lblScore.Caption = "Score: " & mScore
    If mScore Mod 5 = 0 And tmrMove.Interval > 200 Then tmrMove.Interval = tmrMove.Interval - 100
    tmrMove_Timer
End Sub

Private Sub Form_KeyDown(KeyCode As Integer, Shift As Integer)
    If KeyCode = vbKeyEscape Then Unload Me
End Sub

Private Sub Form_Unload(Cancel As Integer)
    tmrMove.Enabled = False
    tmrClock.Enabled = False
End Sub
