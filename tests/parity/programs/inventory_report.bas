' Inventory report: arrays, Format, string functions, Select Case
Option Explicit
Private Type Item
    Name As String
    Qty As Integer
    Price As Double
End Type

Private items() As Item
Private count As Integer

Private Sub AddItem(ByVal n As String, ByVal q As Integer, ByVal p As Double)
    count = count + 1
    ReDim Preserve items(1 To count)
    items(count).Name = n
    items(count).Qty = q
    items(count).Price = p
End Sub

Private Function Category(ByVal price As Double) As String
    Select Case price
        Case Is < 1
            Category = "cheap"
        Case 1 To 9.99
            Category = "normal"
        Case Else
            Category = "dear"
    End Select
End Function

Sub Main()
    Dim i As Integer, total As Double, s As String
    AddItem "apple", 10, 0.5
    AddItem "melon", 2, 3.25
    AddItem "truffle", 1, 120
    For i = LBound(items) To UBound(items)
        With items(i)
            total = total + .Qty * .Price
            s = UCase$(Left$(.Name, 1)) & Mid$(.Name, 2)
            Debug.Print s & Space(10 - Len(s)) & Format(.Qty, "000") & " " & Format(.Price, "0.00") & " " & Category(.Price)
        End With
    Next i
    Debug.Print "Total: " & Format(total, "#,##0.00")
    Debug.Print StrReverse("stressed"), InStrRev("a/b/c", "/"), Replace("a-b-c", "-", "+")
    Debug.Print LCase("MiXeD"), Trim("  x  ") & "|", String(3, "*"), Asc("A"), Chr(66)
    Dim parts() As String
    parts = Split("red,green,blue", ",")
    Debug.Print UBound(parts), Join(parts, "; ")
    Debug.Print IIf(total > 100, "big", "small"), Abs(-3), Int(-2.5), Fix(-2.5), Sgn(-7)
    Debug.Print Round(2.5), Round(3.5), Round(2.567, 2)
    Debug.Print Hex(255), Oct(8), Val("3.5kg")
    Debug.Print "abc" Like "a*", "d" Like "?", "5x" Like "#x"
End Sub
