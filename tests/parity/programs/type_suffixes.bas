' Names with type suffixes, as programs from older dialects write them.
Sub Main()
  Dim s$, total&, price@
  For c% = 0 To 3
    s$ = s$ & c%
  Next c%
  Debug.Print s$; " "; c%
  For Each v In Array(10, 20, 30)
    n& = n& + v
  Next v
  Debug.Print n&; " "; n
  total& = 70000
  total& = total& * 2&
  Debug.Print total&, total
  price@ = 1.25
  Debug.Print price@ * 4
  Debug.Print "a"&"b"; 5&; 7& + 1
  For k# = 1 To 2 Step 0.5
    Debug.Print k#;
  Next
  Debug.Print
  r! = 1.5: Debug.Print r! * 2
End Sub
