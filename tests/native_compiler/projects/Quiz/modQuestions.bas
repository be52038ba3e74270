Attribute VB_Name = "modQuestions"
Option Explicit

Public gQuestions(2) As String
Public gAnswers(2) As String
Public gCorrect(2) As Integer

Sub Main()
    gQuestions(0) = "Which planet is the largest?"
    gAnswers(0) = "Mars|Jupiter|Venus|Mercury"
    gCorrect(0) = 1
    gQuestions(1) = "How many bits in a byte?"
    gAnswers(1) = "4|16|8|32"
    gCorrect(1) = 2
    gQuestions(2) = "What is the capital of France?"
    gAnswers(2) = "Paris|Lyon|Nice|Lille"
    gCorrect(2) = 0
    frmQuiz.Show
End Sub
