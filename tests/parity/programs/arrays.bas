Sub Main()
    Dim a(3)
    Dim i
    For i = 0 To 3
        a(i) = i * i
    Next
    Debug.Print a(3)
    Debug.Print UBound(a)
    ReDim Preserve a(5)
    Debug.Print a(2) + a(5)
    Debug.Print UBound(a)
End Sub
