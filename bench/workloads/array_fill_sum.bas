Sub Main()
  Dim a(999999) As Long, i As Long, s As Double
  For i = 0 To 999999
    a(i) = i Mod 100
  Next
  For i = 0 To 999999
    s = s + a(i)
  Next
  Debug.Print s
End Sub
