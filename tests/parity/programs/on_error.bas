Sub Main()
    Dim x
    On Error Resume Next
    x = 1 / 0
    Debug.Print Err.Number
    Debug.Print Err.Description
    Err.Clear
    Debug.Print Err.Number
End Sub
