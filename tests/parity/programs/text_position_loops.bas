Attribute VB_Name = "Module1"
Option Explicit

' Long and Integer counters running to a text's length or from a position
' found in it, up and down, over texts with and without the sought letter.
Sub Main()
    Dim s As String, i As Long, k As Integer, c As Long, p As Long
    s = "abcZdefZghZ"
    For i = 1 To Len(s)
        If Mid(s, i, 1) = "Z" Then c = c + i * 100
    Next
    Debug.Print "sum " & c
    For k = Len(s) To 1 Step -2
        c = c - k
    Next
    Debug.Print "down " & c
    p = InStr(s, "Z")
    Do While p > 0
        Debug.Print "at " & p & " next " & InStr(p + 1, s, "Z")
        p = InStr(p + 1, s, "Z")
    Loop
    For i = InStr(s, "q") To Len("") - 1
        c = c + 1
    Next
    Debug.Print "none " & c
    s = ""
    For i = 1 To Len(s)
        c = 0
    Next
    Debug.Print "empty " & c
    For k = 1 To Len(String(30000, "x")) Step 10000
        c = c + k
    Next
    Debug.Print "integer counter " & c
End Sub
