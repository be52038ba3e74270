Sub Main()
    Dim x
    Debug.Print 1 / 4
    x = 1 / 0
    Debug.Print "not reached"
End Sub
