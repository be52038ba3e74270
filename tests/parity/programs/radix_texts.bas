' Conversions read "&H" and "&O" texts as VB6 reads such literals.
Sub Main()
    Debug.Print CInt("&H10"), CLng("&O17"), Val("&H1F")
    Debug.Print CDbl("&HFF"), CSng("&o10"), CCur("&H100")
    Debug.Print CInt("&HFFFF"), CLng("&HFFFF&"), CLng("&HFFFFFFFF")
    Debug.Print CLng("&H10000"), CByte("&H7F"), Val("  &h1f  ")
    Debug.Print CDec(1.5) + 1, CDec("2.25"), CDec(10) / 4
    Debug.Print TypeName(CDec(3)), CDec(True)
    Dim h As String
    h = "&H" & Hex(48879)
    Debug.Print h, CLng(h), CLng(h & "&")
    Debug.Print CInt(" 42 "), Val("12abc")
    On Error Resume Next
    Debug.Print CLng("&H123456789")
    Debug.Print Err.Number, Err.Description
    Err.Clear
    Debug.Print CInt("&HZZ")
    Debug.Print Err.Number, Err.Description
End Sub
