Dim Grid(1 To 3, 0 To 1)
Dim Names(5 To 7) As String

Sub Fill(arr() As Long, v)
    Dim i
    For i = LBound(arr) To UBound(arr)
        arr(i) = v * i
    Next
End Sub

Function Total(arr)
    Dim x, t
    For Each x In arr
        t = t + x
    Next
    Total = t
End Function

Sub Main()
    Dim a(1 To 5) As Long
    Dim i, j
    Debug.Print LBound(a) & " " & UBound(a)
    Fill a, 3
    Debug.Print a(1) & " " & a(5)
    Debug.Print Total(a)
    For i = 1 To 3
        For j = 0 To 1
            Grid(i, j) = i * 10 + j
        Next
    Next
    Debug.Print Grid(3, 1) & " " & Grid(2, 0)
    Debug.Print UBound(Grid, 1) & " " & UBound(Grid, 2) & " " & LBound(Grid, 1)
    Debug.Print "[" & Names(6) & "]"
    Names(7) = "seven"
    Debug.Print Names(7)
    Dim s() As String
    ReDim s(2)
    Debug.Print "[" & s(1) & "]"
    s(2) = "kept"
    ReDim Preserve s(4)
    Debug.Print s(2) & " [" & s(4) & "]"
    ReDim s(-1 To 1)
    Debug.Print LBound(s) & " " & UBound(s) & " [" & s(-1) & "]"
    Dim m()
    ReDim m(1, 2)
    m(1, 2) = "corner"
    Debug.Print m(1, 2) & " " & UBound(m, 2)
    Dim v
    v = Array(4, 5, 6)
    Debug.Print UBound(v) & " " & v(2) & " " & IsArray(v) & " " & IsArray(i)
    On Error Resume Next
    Debug.Print a(0)
    Debug.Print "low: " & Err.Number
    Err.Clear
    Debug.Print Grid(4, 0)
    Debug.Print "grid: " & Err.Number
    Err.Clear
    Debug.Print UBound(Grid, 3)
    Debug.Print "dimension: " & Err.Number
    On Error GoTo 0
    Debug.Print a(6)
End Sub
