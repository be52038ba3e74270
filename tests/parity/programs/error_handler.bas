Sub Main()
    Dim x
    On Error GoTo Fail
    Debug.Print "before"
    x = 1 / 0
    Debug.Print "after the failure"
    Exit Sub
Fail:
    Debug.Print "handled: " & (Err.Number <> 0)
    Resume Next
End Sub
