Attribute VB_Name = "Module1"

' Left, Right, Mid, InStr and Chr at their edges: counts of zero, past the
' end and negative, numbers given for texts, accented text, starts past
' the end, empty sought texts, and their error messages.
Sub Main()
    Dim s As String, v, n As Long
    s = "héllo wörld"
    v = 12345
    Debug.Print "[" & Left(s, 0) & "|" & Left(s, 2) & "|" & Left(s, 99) & "|" & Left(s, -3) & "]"
    Debug.Print "[" & Right(s, 0) & "|" & Right(s, 4) & "|" & Right(s, 99) & "|" & Right(v, 2) & "]"
    Debug.Print "[" & Mid(s, 2) & "|" & Mid(s, 2, 3) & "|" & Mid(s, 0, 2) & "|" & Mid(s, 50, 2) & "|" & Mid(v, 2, 2) & "]"
    Debug.Print InStr(s, "ö"); InStr(3, s, "l"); InStr(50, s, "l"); InStr(s, ""); InStr(4, s, ""); InStr(v, "34")
    Debug.Print InStr(2, v, 3); InStr(s, "zz")
    For n = 64 To 68
        Debug.Print Chr(n);
    Next
    Debug.Print Chr(233); Chr(8364); Len(Chr(0)); Asc(Chr(97 + 1))
    On Error Resume Next
    Debug.Print Mid(s, 2, -1)
    Debug.Print "mid: " & Err.Description
    Err.Clear
    Debug.Print InStr(0, s, "l")
    Debug.Print "instr: " & Err.Description
    Err.Clear
    Debug.Print Chr(-5)
    Debug.Print "chr: " & Err.Description
    Err.Clear
    Debug.Print Left(s)
    Debug.Print "left: " & Err.Description
End Sub
