Attribute VB_Name = "Module1"
Option Explicit

' Elements read and written at the first and last subscripts of arrays
' with and without lower bounds, one past either end, arrays of every
' element type, arrays with two dimensions given one subscript, arrays
' not yet given a size, and arrays copied with the record they are in.
Type Holder
    Items(2) As Long
End Type

Function Probe(ByVal what As String, ByVal k As Long) As String
    Dim b(1 To 3) As Byte, n(-2 To 2) As Integer, l(5 To 9) As Long
    Dim d(0 To 1) As Double, f(2) As Boolean, v(10 To 11)
    On Error GoTo Failed
    Select Case what
        Case "byte": b(k) = 200: Probe = CStr(b(k))
        Case "integer": n(k) = -300: Probe = CStr(n(k))
        Case "long": l(k) = 70000: Probe = CStr(l(k))
        Case "double": d(k) = 2.5: Probe = CStr(d(k))
        Case "boolean": f(k) = True: Probe = CStr(f(k))
        Case "variant": v(k) = 7: Probe = CStr(v(k) + 1)
    End Select
    Exit Function
Failed:
    Probe = "error " & Err.Number
End Function

Function Total(a() As Long) As Long
    Dim i As Long, s As Long
    For i = LBound(a) To UBound(a)
        s = s + a(i)
    Next
    Total = s
End Function

Sub Main()
    Dim w As Variant, k As Long, line As String
    For Each w In Array("byte", "integer", "long", "double", "boolean", "variant")
        line = w & ":"
        For k = -3 To 12
            line = line & " " & Probe(CStr(w), k)
        Next
        Debug.Print line
    Next

    Dim grid() As Long, i As Long, j As Long
    ReDim grid(1 To 2, 1 To 3)
    For i = 1 To 2
        For j = 1 To 3
            grid(i, j) = i * 10 + j
        Next
    Next
    Debug.Print grid(1, 1); grid(2, 3); UBound(grid, 2)
    On Error Resume Next
    Err.Clear
    k = grid(1)
    Debug.Print "one subscript of two:"; Err.Number <> 0
    Err.Clear
    ReDim grid(0 To 3)
    grid(3) = 33
    Debug.Print "again one dimension:"; grid(3); Err.Number

    Dim fresh() As Long
    Err.Clear
    k = fresh(0)
    Debug.Print "no size yet:"; Err.Number
    Err.Clear
    fresh(0) = 1
    Debug.Print "store without size:"; Err.Number
    ReDim fresh(4)
    For i = 0 To 4
        fresh(i) = i * i
    Next
    Debug.Print "sum:"; Total(fresh)
    ReDim Preserve fresh(6)
    Debug.Print "kept:"; fresh(4); fresh(6); Total(fresh)

    Dim kept(2) As Variant, texts(1) As String
    kept(0) = "x": kept(1) = 5.5: kept(2) = 7
    texts(0) = "ab": texts(1) = "cd"
    Erase kept, texts
    Debug.Print "erased:"; kept(0) + 1; kept(1) + 1; kept(2) + 1; Len(texts(0)); Len(texts(1))
    kept(1) = 4
    Debug.Print "after erase:"; kept(1) * 2

    Dim h As Holder, c As Holder
    h.Items(0) = 1: h.Items(2) = 3
    c = h
    c.Items(2) = 30
    Debug.Print "records:"; h.Items(2); c.Items(2); c.Items(0)
    Err.Clear
    c.Items(3) = 4
    Debug.Print "record past end:"; Err.Number
End Sub
