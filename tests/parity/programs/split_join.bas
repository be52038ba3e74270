Sub Main()
    Dim parts
    parts = Split("a,b,,c", ",")
    Debug.Print UBound(parts)
    Debug.Print Join(parts, "-")
End Sub
