Private Type Item
    Name As String
    Qty As Long
    Price As Double
End Type

Function MakeList(ByVal n As Long) As String()
    Dim r() As String, i As Long
    ReDim r(1 To n)
    For i = 1 To n
        r(i) = "item" & i
    Next
    MakeList = r
End Function

Function Total(items() As Item) As Double
    Dim i As Long
    For i = LBound(items) To UBound(items)
        Total = Total + items(i).Qty * items(i).Price
    Next
End Function

Sub Fill(items() As Item)
    ReDim items(2)
    items(0).Name = "a": items(0).Qty = 2: items(0).Price = 1.5
    items(1).Name = "b": items(1).Qty = 1: items(1).Price = 10
    items(2).Name = "c": items(2).Qty = 4: items(2).Price = 0.25
End Sub

Function Counter() As Long
    Static n As Long
    n = n + 1
    Counter = n
End Function

Sub Main()
    Dim names() As String, k As Long
    names = MakeList(3)
    Debug.Print LBound(names), UBound(names), names(2)
    Dim stock() As Item
    Fill stock
    Debug.Print Total(stock), stock(2).Name
    Debug.Print Counter(), Counter(), Counter()
    Dim s As String
    s = "Banana"
    Select Case LCase(s)
        Case "apple", "pear": Debug.Print "pome"
        Case "a" To "c": Debug.Print "early"
        Case Is > "x": Debug.Print "late"
        Case Else: Debug.Print "other"
    End Select
    k = 0
    Do
        k = k + 1
        If k = 3 Then Exit Do
    Loop Until k > 10
    Debug.Print k
    Dim grid(2, 2) As Integer, r As Integer, c As Integer
    For r = 0 To 2
        For c = 0 To 2
            grid(r, c) = r * 3 + c
        Next c
    Next r
    Erase grid
    Debug.Print grid(2, 2), UBound(grid)
    Debug.Print Format(Now, "yyyy") > "2000", Len(Format(123.456, "0.0")), Format(-5, "0;(0)"), Format(0.256, "0.0%")
    Debug.Print InStr("abc", ""), InStr("", "a"), Mid("abc", 5), Left("abc", 10), Right("", 2)
    Debug.Print UCase(Left("hello world", 1)) & Mid("hello world", 2)
    Debug.Print String(3, 65), Space(0) = "", Trim(vbTab & " x ")
    Debug.Print CLng("  12 "), CDbl("1.5e2"), Val("  -3.5xyz"), CBool("True"), CBool(0)
End Sub
