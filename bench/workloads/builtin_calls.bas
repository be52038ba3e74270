Sub Main()
  Dim s As Double, i As Long, t As String
  t = "abc"
  For i = 1 To 1000000
    s = s + Sqr(i) + Abs(i - 500000) + Len(t)
  Next
  Debug.Print Int(s)
End Sub
