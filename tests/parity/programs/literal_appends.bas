Sub Main()
    Dim s As String, v, n As Long, i As Long, w
    s = ""
    For i = 1 To 5
        s = s & "ab"
        n = Len(s)
    Next
    Debug.Print s; n
    v = 5
    v = v & "x"
    Debug.Print v; Len(v)
    w = 12.5
    Debug.Print Len(w); Len(123); Len(True)
    s = "say "
    s = s & "he said ""hi""" & vbTab & "end"
    Debug.Print s; Len(s)
    s = "na"
    s = s & "ïve" & "x"
    Debug.Print s; Len(s); Mid(s, 3, 2)
    s = s & "日本"
    Debug.Print Len(s); Right(s, 2)
    Dim e
    Debug.Print Len(e)
    e = e & "y"
    Debug.Print e; Len(e)
    Dim t As String
    t = t & "" & ""
    Debug.Print "[" & t & "]"; Len(t)
End Sub
