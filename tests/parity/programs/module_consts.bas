Const Base = 10
Public Const Limit = Base * 3 + 1
Private Const Greeting As String = "hi " & "there"
Const Half = Limit / 2
Public Ratio As Single
Private Count As Long
Public Flag As Boolean
Dim Label As String, Total As Integer

Sub Main()
    Const Local = Limit - 1
    Debug.Print Base & " " & Limit & " " & Half & " " & Local
    Debug.Print Greeting
    Ratio = 2.5
    Debug.Print Ratio * 2
    Count = Count + 1.6
    Debug.Print Count
    Debug.Print Flag
    Debug.Print "[" & Label & "]" & Total
    Label = "set"
    Total = 7.5
    Debug.Print Label & " " & Total
    Total = 40000
End Sub
