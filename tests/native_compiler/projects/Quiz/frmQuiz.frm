VERSION 5.00
Begin VB.Form frmQuiz 
   BorderStyle     =   1  'Fixed Single
   Caption         =   "Quiz"
   ClientHeight    =   3600
   ClientLeft      =   45
   ClientTop       =   435
   ClientWidth     =   4800
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
   ScaleWidth      =   4800
   StartUpPosition =   2  'CenterScreen
   Begin VB.Label lblQuestion 
      Caption         =   ""
      Height          =   495
      Left            =   120
      TabIndex        =   0
      Top             =   120
      Width           =   4575
   End
   Begin VB.OptionButton optAnswer 
      Caption         =   "Answer"
      Visible         =   0   'False
      Height          =   315
      Left            =   240
      TabIndex        =   0
      Top             =   720
      Width           =   4335
      Index           =   0
   End
   Begin VB.CommandButton cmdNext 
      Caption         =   "&Next"
      Height          =   375
      Left            =   3600
      TabIndex        =   0
      Top             =   3120
      Width           =   1095
   End
   Begin VB.Label lblScore 
      Caption         =   ""
      Height          =   255
      Left            =   120
      TabIndex        =   0
      Top             =   3180
      Width           =   2535
   End
End
Attribute VB_Name = "frmQuiz"
Attribute VB_GlobalNameSpace = False
Attribute VB_Creatable = False
Attribute VB_PredeclaredId = True
Attribute VB_Exposed = False
Option Explicit

Private mCurrent As Integer
Private mScore As Integer

Private Sub Form_Load()
    Dim i As Integer
    For i = 1 To 3
        Load optAnswer(i)
        optAnswer(i).Top = optAnswer(i - 1).Top + 400
    Next i
    mCurrent = 0
    ShowQuestion
End Sub

Private Sub ShowQuestion()
    Dim i As Integer, parts() As String
    lblQuestion.Caption = gQuestions(mCurrent)
    parts = Split(gAnswers(mCurrent), "|")
    For i = 0 To optAnswer.UBound
        optAnswer(i).Caption = parts(i)
        optAnswer(i).Value = False
        optAnswer(i).Visible = True
    Next i
    lblScore.Caption = "Score: " & mScore & " / " & mCurrent
End Sub

Private Sub cmdNext_Click()
    Dim i As Integer
    For i = 0 To optAnswer.UBound
        If optAnswer(i).Value And i = gCorrect(mCurrent) Then mScore = mScore + 1
    Next i
    mCurrent = mCurrent + 1
    If mCurrent > UBound(gQuestions) Then
        MsgBox "You scored " & mScore & " of " & mCurrent & ".", vbInformation, "Quiz"
        Unload Me
    Else
        ShowQuestion
    End If
End Sub
