Attribute VB_Name = "Main"
Sub Main()
    Dim p As Point
    Set p = New Point
    With p
        .X = 3
        .Y = 4
    End With
    Debug.Print p.X + p.Y
End Sub
