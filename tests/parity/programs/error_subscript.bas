Sub Main()
    Dim a(2)
    a(2) = 1
    Debug.Print a(2)
    a(3) = 1
    Debug.Print "not reached"
End Sub
