Attribute VB_Name = "Module1"
Option Explicit

Function Pow2(ByVal n As Long) As Long
    If n = 0 Then
        Pow2 = 1
    Else
        Pow2 = 2 * Pow2(n - 1)
    End If
End Function

Function Tri(ByVal n As Long) As Long
    If n <= 0 Then Tri = 0 Else Tri = n + Tri(n - 1)
End Function

Function Down(ByVal n As Long) As Long
    If n = 0 Then
        Down = 7 \ n
    Else
        Down = n * Down(n - 1)
    End If
End Function

Function Fib(ByVal n As Integer) As Integer
    If n < 2 Then Fib = n Else Fib = Fib(n - 1) + Fib(n - 2)
End Function

Sub Main()
    Debug.Print Pow2(10) & " " & Pow2(62) & " " & Pow2(63) & " " & Pow2(64)
    Debug.Print Tri(100) & " " & Tri(-5) & " " & Fib(20) & " " & Fib(25)
    Debug.Print Pow2(62) + Pow2(62) & " " & Pow2(61) * 2
    On Error Resume Next
    Debug.Print Down(4)
    Debug.Print "error: " & Err.Description
    Err.Clear
    Debug.Print Pow2(63) & " after " & Pow2(3)
    On Error GoTo 0
    Debug.Print Fib(40000)
End Sub
