Attribute VB_Name = "Main"
Function MakePoint(x, y)
    Dim p As Point
    Set p = New Point
    With p
        .X = x
        .Y = y
    End With
    Set MakePoint = p
End Function

Sub Main()
    Dim p As Point, q As Point
    Set p = New Point
    With p
        .X = 3
        .Y = 4
        .Move 1, 1
        If p.X > 3 Then .Y = 7
        Set q = MakePoint(10, 20)
        With q
            .X = 11
        End With
    End With
    Debug.Print p.X + p.Y
    Debug.Print q.X & "," & q.Y
    Debug.Print p.Describe()
End Sub
