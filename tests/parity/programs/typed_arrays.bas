Attribute VB_Name = "Module1"
Option Explicit

' Arrays declared with scalar element types: locals and module arrays,
' dynamic arrays grown with ReDim Preserve, arrays with lower bounds,
' arrays passed to procedures, and For Each over them.
Dim Squares(10) As Long
Dim Names() As String
Dim Flags(1 To 4) As Boolean
Dim Weights(3) As Double

Sub Fill(arr() As Long, ByVal n As Long)
    Dim i As Long
    ReDim arr(n)
    For i = 0 To n
        arr(i) = i * 3
    Next
End Sub

Sub Grow(arr() As Long)
    ReDim Preserve arr(UBound(arr) + 2)
    arr(UBound(arr)) = 99
End Sub

Function Total(arr() As Long) As Long
    Dim x As Variant, t As Long
    For Each x In arr
        t = t + x
    Next
    Total = t
End Function

Function Largest(values) As Double
    Dim i As Long, best As Double
    best = values(LBound(values))
    For i = LBound(values) + 1 To UBound(values)
        If values(i) > best Then best = values(i)
    Next
    Largest = best
End Function

Sub Main()
    Dim i As Long, k As Integer
    Dim small(5) As Byte, mid3(-2 To 2) As Integer
    Dim a() As Long
    For i = 0 To 10
        Squares(i) = i * i
    Next
    Debug.Print Squares(10); Squares(3) + Squares(4); UBound(Squares); LBound(Squares)
    For k = 0 To 5
        small(k) = k * 50
    Next
    Debug.Print small(5); small(0) + small(5)
    For i = -2 To 2
        mid3(i) = i * 1000
    Next
    Debug.Print mid3(-2); mid3(2); LBound(mid3); UBound(mid3)
    Fill a, 4
    Debug.Print UBound(a); a(4); Total(a)
    Grow a
    Debug.Print UBound(a); a(5); a(6); a(4); Total(a)
    ReDim Preserve a(2)
    Debug.Print UBound(a); Total(a)
    Names = Split("ann,bob,cy", ",")
    Debug.Print UBound(Names); Names(1) & "/" & Names(2)
    ReDim Preserve Names(3)
    Names(3) = "dee"
    Debug.Print Names(3); Len(Names(0) & Names(3))
    Flags(2) = True
    Flags(3) = 1 > 2
    Debug.Print Flags(1); Flags(2); Flags(3); Not Flags(4)
    Weights(0) = 1.5
    Weights(1) = 2.25
    Weights(2) = Weights(0) * Weights(1)
    Debug.Print Weights(2); Weights(3); Largest(Weights)
    Dim t As Long
    t = a(0) + a(1) * 2
    Debug.Print t
    Dim c() As Long
    ReDim c(1 To 3)
    c(1) = 7: c(3) = c(1) * 6
    Debug.Print c(3); LBound(c); Total(c)
    Dim j As Long
    j = 11
    Squares(j) = 1
    Debug.Print "not reached"
End Sub
