' Matrix and error handling: 2-D arrays, Erase, Static, Err.Raise, Resume Next in loops
Private Function Safe(ByVal a As Double, ByVal b As Double) As Variant
    On Error GoTo Fail
    Safe = a / b
    Exit Function
Fail:
    Safe = "n/a (" & Err.Number & ")"
End Function

Private Function Counter() As Long
    Static n As Long
    n = n + 1
    Counter = n
End Function

Private Sub Check(ByVal v As Long)
    If v < 0 Then Err.Raise vbObjectError + 513, "Check", "negative: " & v
End Sub

Sub Main()
    Dim m(1 To 3, 1 To 4) As Long, r As Long, c As Long
    For r = 1 To 3
        For c = 1 To 4
            m(r, c) = r * 10 + c
        Next
    Next
    Debug.Print UBound(m, 1), UBound(m, 2), LBound(m, 2), m(2, 3)
    Dim line As String
    For r = LBound(m) To UBound(m)
        line = ""
        For c = LBound(m, 2) To UBound(m, 2)
            line = line & m(r, c) & " "
        Next
        Debug.Print RTrim(line)
    Next
    Erase m
    Debug.Print m(2, 3)
    Debug.Print Safe(1, 4), Safe(1, 0)
    Debug.Print Counter(), Counter(), Counter()
    Dim vals, v
    vals = Array(3, -1, 4, -5)
    On Error Resume Next
    For Each v In vals
        Err.Clear
        Check v
        If Err.Number <> 0 Then
            Debug.Print Err.Number - vbObjectError, Err.Source, Err.Description
        Else
            Debug.Print "ok " & v
        End If
    Next
    On Error GoTo 0
    Dim d() As String
    ReDim d(2)
    d(0) = "x"
    ReDim Preserve d(3)
    Debug.Print UBound(d), d(0) & "|" & d(3) & "|"
    DoEvents
    Debug.Print IsArray(d), IsNumeric("12"), IsNumeric("x"), TypeName(d), VarType(1.5)
End Sub
