Sub Main()
    Dim x
    On Error Resume Next
    x = 1 / 0
    Debug.Print Err.Number <> 0
    Err.Clear
    Debug.Print Err.Number
    Debug.Print "still running"
End Sub
