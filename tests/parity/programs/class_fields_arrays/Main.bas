Attribute VB_Name = "Main"
Sub Main()
    Dim a As Grid, b As Grid
    Set a = New Grid
    Set b = New Grid
    a.SetCell 1, 5
    a.SetCell 9, 7
    b.SetCell 1, 100
    Debug.Print a.Cell(1); a.Cell(9); b.Cell(1); a.Total; b.Total; a.Bounds
    a.AddName "ann"
    a.AddName "bob"
    b.AddName "cy"
    Debug.Print a.NameList; " "; b.NameList
    a.Marks(1) = "m"
    b.Marks(2) = "n"
    Debug.Print a.Marks(1); "|"; a.Marks(2); "|"; b.Marks(2); UBound(a.Marks)
    a.SetCell 3, 40000
End Sub
