Sub Main()
  Dim s As String, i As Long, n As Long
  For i = 1 To 200000
    s = s & Chr(65 + i Mod 26)
    If Mid(s, i, 1) = "Z" Then n = n + 1
  Next
  Debug.Print n; Len(s); InStr(s, "XYZ")
End Sub
