Dim calls

Function NextCall()
    calls = calls + 1
    NextCall = calls
End Function

Sub Bump(n)
    n = n + 1
End Sub

Sub Show2(ByVal a, ByVal b)
    Debug.Print a & "," & b
End Sub

Sub Report(n)
    Debug.Print "[" & n & "]"
End Sub

Function Grade(c)
    Select Case c
        Case 1 To 5, Is > 10, 7
            Grade = "low, high or seven"
        Case Else
            Grade = "else"
    End Select
End Function

Function Early(c)
    Early = "start"
    If c Then Exit Function
    Early = "end"
End Function

Sub Main()
    Dim c, x, n, i
    c = 3
    If c = 1 Then
        Debug.Print "one"
    ElseIf c = 3 Then
        Debug.Print "three"
    Else
        Debug.Print "other"
    End If
    If c Then c = 1 Else c = 2
    Debug.Print c
    Debug.Print Grade(1); Grade(5); Grade(6); Grade(7); Grade(11); Grade(10)
    c = 0
    Do While c < 3
        c = c + 1
    Loop Until c = 2
    Debug.Print c
    c = 0
    Do Until c >= 10
        c = c + 4
    Loop While c < 6
    Debug.Print c
    Do
        c = c + 1
        If c > 20 Then Exit Do
    Loop
    Debug.Print c
    While c > 18
        c = c - 1
    Wend
    Debug.Print c
    ' A Dim inside a loop does not start again on each pass.
    For i = 1 To 3
        Dim inner As Integer
        inner = inner + 1
    Next
    Debug.Print inner
    ' By reference, by value and left-out arguments.
    x = 1
    Bump x
    Bump (x)
    Call Bump(x + 1)
    Debug.Print x
    Report
    ' Arguments are worked out left to right, each once.
    calls = 0
    Show2 NextCall(), NextCall()
    Debug.Print NextCall() + NextCall() * 10
    Debug.Print Left(NextCall() & "xyz", 2)
    Debug.Print Early(True); " "; Early(False)
    ' Operators by precedence, unary signs and grouping.
    Debug.Print 7 \ 2 MOD 3; +c; -c ^ 2; (c + 1) * 2; c - 1 - 1
    Debug.Print Not c = 1 And c; c Or 0 Xor 1; c <> 3
End Sub
