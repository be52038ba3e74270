' Grades and dates: Select Case on texts, GoSub, ByRef arrays, dates, ReDim Preserve of 2-D, IsEmpty
Private Sub Fill(arr() As Integer, ByVal n As Integer)
    Dim i As Integer
    ReDim arr(1 To n)
    For i = 1 To n
        arr(i) = i * i
    Next
End Sub

Private Function Grade(ByVal score As Integer) As String
    Select Case score
        Case 90 To 100: Grade = "A"
        Case 80 To 89: Grade = "B"
        Case Is >= 50: Grade = "C"
        Case Else: Grade = "F"
    End Select
End Function

Sub Main()
    Dim sq() As Integer, i As Integer, total As Long
    Fill sq, 5
    For i = LBound(sq) To UBound(sq)
        total = total + sq(i)
    Next
    Debug.Print "sum of squares: " & total
    Dim name As String
    For Each name In Array("delta", "Alpha", "mike", "zulu")
        Select Case LCase(name)
            Case "a" To "m": Debug.Print name & " first half"
            Case Else: Debug.Print name & " second half"
        End Select
    Next
    Debug.Print Grade(95), Grade(85), Grade(60), Grade(10)
    Dim n As Integer
    n = 3
    GoSub Twice
    GoSub Twice
    Debug.Print "n = " & n
    Dim d As Date
    d = DateSerial(2024, 2, 28)
    Debug.Print Format(DateAdd("d", 2, d), "yyyy-mm-dd"), Weekday(d), Month(d), Day(DateAdd("m", 1, d))
    Debug.Print DateDiff("d", DateSerial(2024, 1, 1), d), Year(d), Format(d, "dd/mm/yyyy")
    Dim v As Variant
    Debug.Print IsEmpty(v), IsNull(v), v = 0, v = ""
    v = Empty
    Debug.Print Len(v), TypeName(v)
    Dim grid() As Long
    ReDim grid(1, 2)
    grid(1, 2) = 9
    ReDim Preserve grid(1, 4)
    Debug.Print UBound(grid, 2), grid(1, 2)
    Debug.Print InStr(3, "abcabc", "b"), InStr(1, "ABC", "b", vbTextCompare), Left$("hello", 10), Mid("hello", 2)
    Exit Sub
Twice:
    n = n * 2
    Return
End Sub
