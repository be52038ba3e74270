' A small fixed-width report: names padded into columns, records copied
' whole with LSet, amounts right-aligned with RSet.
Type Entry
    Code As String * 4
    Amount As Long
End Type

Function Column(text, width)
    Dim cell As String
    cell = Space(width)
    LSet cell = text
    Column = cell
End Function

Function Amount(n, width)
    Dim cell As String
    cell = Space(width)
    RSet cell = CStr(n)
    Amount = cell
End Function

Sub Main()
    Dim title As String * 12
    Debug.Print "[" & title & "]" & Len(title)
    title = "Stock"
    Debug.Print "[" & title & "]" & Len(title)
    title = "Stock list for December"
    Debug.Print "[" & title & "]"
    title = title & "!"
    Debug.Print "[" & title & "]"
    Dim names(2) As String * 5
    names(0) = "pear"
    names(1) = "watermelon"
    Debug.Print "[" & names(0) & "][" & names(1) & "][" & names(2) & "]"
    Dim i, line As String
    Dim items, counts
    items = Array("apple", "kiwi", "blackcurrant")
    counts = Array(12, 1500, 7)
    For i = 0 To UBound(items)
        line = Column(items(i), 8) & "|" & Amount(counts(i), 6) & "|"
        Debug.Print line
    Next
    Dim s As String
    s = "abcdef"
    LSet s = "xy"
    Debug.Print "[" & s & "]"
    RSet s = "12345678"
    Debug.Print "[" & s & "]"
    s = "été!"
    RSet s = "ça"
    Debug.Print "[" & s & "]" & Len(s)
    Dim a As Entry, b As Entry
    a.Code = "AB"
    a.Amount = 40
    LSet b = a
    a.Amount = 41
    Debug.Print "[" & b.Code & "] " & b.Amount & " " & a.Amount
    Dim fixed As String * 3
    LSet fixed = "x"
    Debug.Print "[" & fixed & "]"
    RSet fixed = "longer"
    Debug.Print "[" & fixed & "]"
End Sub
