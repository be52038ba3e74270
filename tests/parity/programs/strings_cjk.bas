Sub Main()
    Dim s As String
    s = "日本語のテキスト"
    Debug.Print Len(s)
    Debug.Print Left(s, 3)
    Debug.Print Right(s, 4)
    Debug.Print Mid(s, 4, 1)
    Debug.Print InStr(s, "テ")
    Debug.Print StrReverse("漢字")
    Debug.Print UCase(s) = s
    Debug.Print Asc("語")
    Debug.Print Chr(26085)
    Debug.Print Replace(s, "日本語", "中文")
    Debug.Print Len(Trim("　全角　"))
    Debug.Print String(3, "字")
End Sub
