Sub Main()
    Dim x
    Debug.Print "2" * 3
    x = "abc" * 2
    Debug.Print "not reached"
End Sub
