Sub Main()
    Dim s As String
    s = "a😀b"
    Debug.Print Len(s)
    Debug.Print Mid(s, 2, 1)
    Debug.Print Asc(Mid(s, 2, 1))
    Debug.Print Chr(128512) = Mid(s, 2, 1)
    Debug.Print Len(Chr(128512))
    Debug.Print StrReverse(s)
    Debug.Print Left(s, 2)
    Debug.Print Right(s, 2)
    Debug.Print InStr(s, "b")
    Debug.Print UCase(s)
    Debug.Print Len("👍🏽")
    Debug.Print s Like "a?b"
End Sub
