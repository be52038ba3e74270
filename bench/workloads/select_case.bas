Sub Main()
  Dim i As Long, n As Long
  For i = 1 To 1000000
    Select Case i Mod 10
    Case 0
      n = n + 1
    Case 1, 2
      n = n + 2
    Case 3 To 5
      n = n + 3
    Case 6
      n = n - 1
    Case Else
      n = n + 5
    End Select
  Next
  Debug.Print n
End Sub
