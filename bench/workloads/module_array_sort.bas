' The 2,000-element bubble sort on an array declared at module level.
Dim a(1999) As Long
Sub Main()
  Dim i As Long, j As Long, t As Long
  For i = 0 To 1999
    a(i) = (i * 7919) Mod 2000
  Next
  For i = 0 To 1998
    For j = 0 To 1998 - i
      If a(j) > a(j + 1) Then
        t = a(j)
        a(j) = a(j + 1)
        a(j + 1) = t
      End If
    Next
  Next
  Debug.Print a(0); a(1999)
End Sub
