Sub Main()
    Dim parts, p
    parts = Split("a,b,,c", ",")
    Debug.Print UBound(parts)
    Debug.Print Join(parts, "-")
    Debug.Print Join(Split("x y z"))
    parts = Split("", ",")
    Debug.Print UBound(parts)
    For Each p In Split("é|日本|😀", "|")
        Debug.Print Len(p)
    Next
    Debug.Print Join(Split("one", ""), "+")
End Sub
