Sub Main()
  Dim s As Long, i As Long
  s = 0
  For i = 1 To 3000000
    s = s + i Mod 7
    If s > 1000000 Then s = 0
  Next
  Debug.Print s
End Sub
