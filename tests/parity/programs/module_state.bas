' Module-level variables, arrays and loop counters used from procedures.
Option Explicit
Dim counter As Long
Dim i As Long
Dim total As Double
Dim squares(9) As Long
Dim names() As String

Sub Bump(ByVal by As Long)
  counter = counter + by
End Sub

Sub FillSquares()
  For i = 0 To 9
    squares(i) = i * i
  Next
End Sub

Function SumSquares() As Double
  Dim k As Long
  total = 0
  For k = LBound(squares) To UBound(squares)
    total = total + squares(k)
  Next
  SumSquares = total
End Function

Sub ShowCounter()
  Debug.Print "counter"; counter; "i"; i
End Sub

Sub Main()
  Dim n As Long
  For n = 1 To 5
    Bump n
  Next
  ShowCounter
  FillSquares
  ShowCounter
  Debug.Print SumSquares(); total
  ReDim names(2)
  names(0) = "a": names(1) = "b": names(2) = "c"
  For i = 2 To 0 Step -1
    Debug.Print names(i);
  Next
  Debug.Print
  ShowCounter
  For i = 1 To 0
  Next
  ShowCounter
End Sub
