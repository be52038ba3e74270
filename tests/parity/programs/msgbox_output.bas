Sub Main()
    Dim r
    MsgBox "Hello"
    MsgBox "Sure?", 4, "Question"
    r = 1
    Debug.Print r
End Sub
