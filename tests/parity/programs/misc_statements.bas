Option Explicit

Private Const Tax = 0.2
Public Counter As Long

Private Function Price(ByVal net As Double) As Double
    Price = net * (1 + Tax)
End Function

Private Sub Tick()
    Counter = Counter + 1
End Sub

Sub Main()
    Dim i As Integer, s As String, d As Double, b As Boolean, v
    For i = 1 To 3: Tick: Next i
    Debug.Print Counter
    d = Price(100)
    Debug.Print d
    Debug.Print Price(10)
    s = "Total: " & Format(d, "Fixed")
    Debug.Print s
    b = d > 100
    Debug.Print b
    v = Null1()
    Debug.Print "[" & v & "]"
    If Counter = 3 Then Debug.Print "three" Else Debug.Print "other"
    If Len(s) > 5 And Left(s, 1) = "T" Then
        Debug.Print "starts with T"
    ElseIf Len(s) > 100 Then
        Debug.Print "long"
    Else
        Debug.Print "else"
    End If
    Call Tick
    Debug.Print Counter
    i = 7
    i = i \ 2
    Debug.Print i
    d = 7
    d = d / 2
    Debug.Print d
    s = 5 & ""
    Debug.Print Len(s)
    Debug.Print CStr(1 / 8)
    Debug.Print -7 \ -2
    Debug.Print 2 ^ 0.5
    Debug.Print 10 Mod 2.5
    Debug.Print Abs(-7 Mod 3)
End Sub

Function Null1()
    Null1 = ""
End Function
