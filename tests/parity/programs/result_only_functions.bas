Attribute VB_Name = "Module1"
Option Explicit

' Functions that only compute their result from Integer parameters, written
' with parameters passed by reference, one-line Ifs (with Else, with Exit
' Function after a colon), results past 64 bits, and one that also counts
' its calls in a module variable (each call must count once, also when
' its Integer arithmetic leaves 64 bits).
Dim calls As Long

Function Tri(n As Long) As Long
    If n <= 0 Then Tri = 0: Exit Function
    Tri = n + Tri(n - 1)
End Function

Function Pow3(n As Long) As Long
    If n = 0 Then Pow3 = 1 Else Pow3 = 3 * Pow3(n - 1)
End Function

Function Wide(ByVal n As Long) As Long
    If n = 0 Then Wide = 1 Else calls = calls + 1: Wide = n * 3037000500 * 3037000500 - n * 3037000500 * 3037000500 + 7
End Function

Function Fib(n As Integer) As Long
    If n < 2 Then Fib = n: Exit Function
    Fib = Fib(n - 1) + Fib(n - 2)
End Function

Function Steps(ByVal n As Long) As Long
    If n = 1 Then
        Steps = 0
    ElseIf n Mod 2 = 0 Then
        Steps = 1 + Steps(n \ 2)
    Else
        Steps = 1 + Steps(3 * n + 1)
    End If
End Function

Sub Main()
    Dim k As Long, i As Integer
    k = 100
    Debug.Print "tri " & Tri(k) & " " & k
    Debug.Print Pow3(39)
    Debug.Print Pow3(40)
    calls = 0
    Debug.Print "wide " & Wide(0) & " " & Wide(1) & " " & Wide(2)
    Debug.Print "calls " & calls
    i = 24
    Debug.Print "fib " & Fib(i) & " " & i
    Debug.Print "steps " & Steps(27) & " " & Steps(97)
    On Error Resume Next
    k = Pow3(45)
    Debug.Print "store " & Err.Number & " " & k
End Sub
