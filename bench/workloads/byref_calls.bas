' Add(a, b) with its parameters passed as VB6 passes them by default: by
' reference, the first argument a variable.
Function Add(a As Long, b As Long) As Long
  Add = a + b
End Function
Sub Main()
  Dim s As Long, i As Long
  For i = 1 To 1000000
    s = Add(s, i Mod 10)
  Next
  Debug.Print s
End Sub
