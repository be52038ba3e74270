Sub Main()
    Dim i As Integer
    i = 32767
    Debug.Print i
    i = i + 1
    Debug.Print "not reached"
End Sub
