Attribute VB_Name = "modUtil"
Option Explicit

Public Const APP_NAME As String = "Toolkit"
Public LastError As String

' Joins any number of values with the separator; empty values are skipped.
Public Function JoinAll(ByVal Sep As String, ParamArray Values() As Variant) As String
    Dim v As Variant, s As String
    For Each v In Values
        If Len(CStr(v)) > 0 Then
            If Len(s) > 0 Then s = s & Sep
            s = s & CStr(v)
        End If
    Next
    JoinAll = s
End Function

Public Function Pad(ByVal s As String, ByVal n As Integer, Optional ByVal Right As Boolean = False, Optional PadChar As String = " ") As String
    If Len(s) >= n Then
        Pad = s
    ElseIf Right Then
        Pad = String$(n - Len(s), PadChar) & s
    Else
        Pad = s & String$(n - Len(s), PadChar)
    End If
End Function

Public Sub Swap(a As Variant, b As Variant)
    Dim t As Variant
    t = a
    a = b
    b = t
End Sub

Public Function SafeDivide(ByVal a As Double, ByVal b As Double, Optional ByRef Failed As Boolean) As Double
    On Error GoTo Fail
    SafeDivide = a / b
    Failed = False
    Exit Function
Fail:
    LastError = Err.Description
    Failed = True
    SafeDivide = 0
End Function

Public Function NextTicket() As Long
    Static Counter As Long
    Counter = Counter + 1
    NextTicket = Counter
End Function

Public Function ParseIntOr(ByVal s As String, Optional ByVal Default As Long = -1) As Long
    On Error Resume Next
    ParseIntOr = Default
    ParseIntOr = CLng(s)
    If Err.Number <> 0 Then
        LastError = "Err " & Err.Number
        ParseIntOr = Default
    End If
    On Error GoTo 0
End Function

' Resume runs the failing statement again.
Public Function Retry(ByVal tries As Integer, ByVal limit As Integer) As String
    Dim attempt As Integer
    On Error GoTo Again
    attempt = 1
    If attempt < tries Then Err.Raise 1001, "Retry", "not yet"
    Retry = "ok after " & attempt
    Exit Function
Again:
    attempt = attempt + 1
    If attempt <= limit Then Resume
    Retry = "gave up after " & Err.Number
End Function
