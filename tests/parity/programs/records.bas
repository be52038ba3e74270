Type Point
    X As Integer
    Y As Integer
End Type

Type Shape
    Name As String
    Corner As Point
    Sides(3) As Long
    Code As String * 4
End Type

Dim Origin As Point
Dim Shapes(2) As Shape

Sub Move(p As Point, dx)
    p.X = p.X + dx
End Sub

Function Area(s)
    Area = s.Sides(0) * s.Sides(1)
End Function

Sub Main()
    Dim p As Point, q As Point
    p.X = 3
    p.Y = 4
    Debug.Print p.X & "," & p.Y
    Move p, 10
    Debug.Print p.X
    Origin.Y = 7
    Debug.Print Origin.X & "," & Origin.Y
    Dim s As Shape
    s.Name = "box"
    s.Corner.X = 2
    s.Sides(0) = 5
    s.Sides(1) = 6
    Debug.Print s.Name & " " & s.Corner.X & " " & Area(s) & " " & UBound(s.Sides)
    Debug.Print "[" & s.Code & "] " & Len(s.Code)
    Dim i
    For i = 0 To 2
        Shapes(i).Name = "shape" & i
        Shapes(i).Corner.Y = i * 2
    Next
    Debug.Print Shapes(2).Name & " " & Shapes(2).Corner.Y & " " & Shapes(0).Corner.Y
    With Shapes(1)
        .Name = "renamed"
        .Corner.X = 9
    End With
    Debug.Print Shapes(1).Name & " " & Shapes(1).Corner.X
    Debug.Print TypeName(p) & " " & VarType(p)
    ' Assignment copies a record, its nested records and array fields.
    q = p
    q.X = 99
    Dim t As Shape
    t = s
    t.Corner.X = 77
    t.Sides(0) = 1
    Shapes(0) = s
    Shapes(0).Name = "copy"
    Debug.Print p.X & " " & q.X & " " & s.Corner.X & " " & s.Sides(0) & " " & t.Corner.X & " " & s.Name & " " & Shapes(0).Name
    Debug.Print p.Z
End Sub
