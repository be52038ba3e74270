Attribute VB_Name = "Module1"
Option Explicit

' GoSub ... Return inside procedures: nested GoSubs, GoSub from loops and
' single-line Ifs, a routine that falls through to the procedure's end,
' and Return without GoSub.
Function Digits(ByVal n As Long) As String
    Dim d As Long, out As String
    Do While n > 0
        d = n Mod 10
        GoSub AddDigit
        n = n \ 10
    Loop
    Digits = out
    Exit Function
AddDigit:
    out = out & CStr(d)
    If d = 7 Then GoSub Lucky
    Return
Lucky:
    out = out & "!"
    Return
End Function

Sub Counter()
    Dim i As Integer, total As Long
    For i = 1 To 5
        If i Mod 2 = 1 Then GoSub Odd
    Next
    Debug.Print "total"; total
    GoSub Tail
    Debug.Print "not reached"
Tail:
    Debug.Print "tail ends the procedure"
    Exit Sub
Odd:
    total = total + i
    Return
End Sub

Sub Main()
    Debug.Print Digits(1774)
    Counter
    Return
End Sub
