Type Point
    X As Integer
    Y As Integer
End Type

Sub Main()
    Dim p As Point
    p.X = 2.5
    p.Y = 4
    Debug.Print p.X + p.Y
End Sub
