Dim attempts

Function Divide(a, b)
    Divide = a / b
End Function

Sub Retry()
    Dim d
    d = 0
    On Error GoTo Fix
    Debug.Print "result " & (10 / d)
    Exit Sub
Fix:
    Debug.Print "fixing " & Err.Number
    d = 5
    Resume
End Sub

Sub Jump()
    On Error GoTo Bad
    Dim a(2)
    a(7) = 1
    Debug.Print "not here"
Skip:
    Debug.Print "skipped to label"
    Exit Sub
Bad:
    Debug.Print "subscript: " & Err.Number & " " & Err.Description
    Resume Skip
End Sub

Sub Inner()
    Dim x
    x = "text" * 2
End Sub

Sub Outer()
    On Error GoTo Caught
    Inner
    Debug.Print "not after inner"
    Exit Sub
Caught:
    Debug.Print "caught from inner: " & Err.Number
End Sub

Sub HandlerFails()
    On Error GoTo Oops
    Err.Raise 1234, "Mine", "first"
    Exit Sub
Oops:
    Debug.Print "handling " & Err.Number & " from " & Err.Source
    Err.Raise 4321, , "second"
End Sub

Sub Loops()
    Dim n
    n = 0
Again:
    n = n + 1
    If n < 4 Then GoTo Again
    Debug.Print "looped " & n
    GoTo Done
    Debug.Print "never"
Done:
    Debug.Print "done"
End Sub

Sub InLoop()
    Dim i, v
    On Error GoTo Handler
    For i = 1 To 4
        v = 12 / (i - 2)
        Debug.Print "i=" & i & " v=" & v
    Next
    Debug.Print "loop finished"
    Exit Sub
Handler:
    Debug.Print "error at i=" & i & ": " & Err.Number
    Resume Next
End Sub

Sub Main()
    Retry
    Jump
    Outer
    Debug.Print "after outer: " & Err.Number
    On Error Resume Next
    HandlerFails
    Debug.Print "caller sees " & Err.Number & " " & Err.Description
    Err.Clear
    Err.Raise 9
    Debug.Print Err.Number & " " & Err.Description & " [" & Err.Source & "]"
    Err.Clear
    Debug.Print Divide(1, 0)
    Debug.Print "division: " & Err.Number
    On Error GoTo 0
    Loops
    InLoop
    Debug.Print "end"
    Resume Next
End Sub
