Function Zero()
    Zero = 0
End Function

Sub Conditions()
    Dim i, n
    On Error Resume Next
    If 1 / Zero() > 0 Then
        Debug.Print "not here"
    Else
        Debug.Print "nor here"
    End If
    Debug.Print "after If: " & Err.Number
    Err.Clear
    n = 0
    Do While 10 \ (2 - n) > 0
        n = n + 1
        Debug.Print "loop " & n
    Loop
    Debug.Print "after Do: " & Err.Number & " n=" & n
    Err.Clear
    Select Case 5 / Zero()
        Case 1
            Debug.Print "case 1"
        Case Else
            Debug.Print "else"
    End Select
    Debug.Print "after Select: " & Err.Number
    For i = 1 To 3
        If i = 2 Then Debug.Print 1 / Zero() Else Debug.Print "i=" & i
    Next
    Debug.Print "after For: " & Err.Number
End Sub

Sub Retries()
    Dim tries, v
    On Error GoTo Again
    tries = 0
    v = 100 / (tries * (tries - 1))
    Debug.Print "tries=" & tries & " v=" & v
    Exit Sub
Again:
    tries = tries + 1
    Debug.Print "retry " & tries & " after " & Err.Number
    If tries < 5 Then Resume
End Sub

Function Inner(x)
    On Error GoTo Local
    Inner = 10 / x
    Exit Function
Local:
    Inner = -1
End Function

Sub Main()
    Conditions
    Retries
    Debug.Print Inner(2) & " " & Inner(0) & " " & Err.Number
    On Error GoTo Outer
    Dim k
    For k = 1 To 3
        Debug.Print "k=" & k & " " & 6 / (k - 2)
    Next
    Debug.Print "done " & k
    Exit Sub
Outer:
    Debug.Print "outer " & Err.Number & " at k=" & k
    Resume Next
End Sub
