Sub Main()
  Dim GetResult, PutResult, x, y, a, b
  GetResult = Max3(1, 5, 2)
  PutResult = Max3(7, 5, 2)
  Debug.Print GetResult, PutResult
  a = True: b = False
  If a Then x = 1 Else: y = 2
  Debug.Print x, y
  If b Then x = 3 Else: y = 4
  Debug.Print x, y
  x = 6
  Debug.Print x
  If a Then x = "t" Else:  y = "e": x = x & "!"
  Debug.Print x, y
End Sub

Function Max3(p, q, r)
  Max3 = p
  If q > Max3 Then Max3 = q
  If r > Max3 Then Max3 = r
End Function
