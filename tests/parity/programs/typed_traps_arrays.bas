Attribute VB_Name = "Module1"
Option Explicit

' Typed locals, typed results and ByRef typed parameters in procedures
' with On Error, and typed variables next to arrays and records.
Type Pt
    X As Long
    Y As Double
End Type

Function Safe(ByVal a As Long, ByVal b As Long) As Long
    Dim r As Long
    Dim i As Integer
    On Error GoTo Bad
    i = 3
    r = a \ b
    Safe = r + i
    Exit Function
Bad:
    Safe = -1 - i
    Resume Next
End Function

Function Twice(x As Long) As Long
    x = x * 2
    Twice = x
End Function

Function Tries(ByVal n As Long) As Long
    Dim k As Long, hits As Long
    On Error Resume Next
    For k = 1 To n
        hits = hits + 10 \ (k Mod 3)
    Next
    Tries = hits
End Function

Sub Main()
    Dim k As Long
    Dim arr(3) As Long
    Dim total As Double
    Dim p As Pt
    k = 5
    Debug.Print Safe(10, 2)
    Debug.Print Safe(1, 0)
    Debug.Print Twice(k); k
    For k = 0 To 3
        arr(k) = k * k
        total = total + arr(k)
    Next
    Debug.Print total; UBound(arr)
    Debug.Print Twice(arr(2)); arr(2)
    p.X = Twice(k)
    p.Y = total / 4
    Debug.Print p.X; p.Y; k
    Debug.Print Tries(7)
    On Error Resume Next
    k = 1 / 0
    Debug.Print Err.Number; k
End Sub
