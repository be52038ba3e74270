Attribute VB_Name = "Module1"
Option Explicit

' Stores out of a type's range inside procedures: arguments converted on
' the way in, results of sums kept in typed locals, and the same inside
' functions that call themselves, with and without a handler.
Function Half(ByVal n As Integer) As Integer
    Half = n \ 2
End Function

Function Grow(ByVal n As Long, ByVal times As Long) As Long
    Dim k As Long
    For k = 1 To times
        n = n * 3
    Next
    Grow = n
End Function

Function Countdown(ByVal n As Long) As Long
    If n < -2147483600 Then
        Countdown = Countdown(n - 100)
    ElseIf n < 0 Then
        Countdown = n
    Else
        Countdown = Countdown(n - 1000000000) + 1
    End If
End Function

Function Guarded(ByVal n As Long) As String
    Dim b As Byte
    On Error GoTo Failed
    b = n
    Guarded = "stored " & b
    Exit Function
Failed:
    Guarded = "caught " & Err.Number & " at " & n
End Function

Function Depth(ByVal n As Long) As Long
    If n = 0 Then Depth = 0 Else Depth = 1 + Depth(n - 1)
End Function

Sub Main()
    Dim i As Integer, s As Variant
    On Error Resume Next
    Debug.Print Half(32767); Half(-32768)
    Err.Clear
    Debug.Print Half(40000)
    Debug.Print "argument:"; Err.Number
    Err.Clear
    Debug.Print Grow(7, 3)
    Debug.Print Grow(7, 30)
    Debug.Print "sum in a loop:"; Err.Number
    Err.Clear
    Debug.Print Countdown(2000000000)
    Debug.Print "recursion:"; Err.Number
    Err.Clear
    Debug.Print Countdown(-2147483610)
    Debug.Print "argument in recursion:"; Err.Number
    Err.Clear
    i = 32767
    i = i + 1
    Debug.Print "local:"; i; Err.Number
    On Error GoTo 0
    For Each s In Array("0", "255", "256", "-1")
        Debug.Print Guarded(CLng(s))
    Next
    Debug.Print Depth(5000)
End Sub
