Private Type Node
    Name As String
    Children() As Long
    Scores() As Double
End Type

Private Type Fixed
    Slots(2) As Integer
End Type

Private nodes(1 To 2) As Node

Sub Main()
    Dim n As Node, i As Long, f As Fixed
    n.Name = "root"
    ReDim n.Children(2)
    For i = 0 To 2
        n.Children(i) = i * 3
    Next
    ReDim Preserve n.Children(4)
    n.Children(4) = 12
    Debug.Print n.Name; UBound(n.Children); n.Children(2); n.Children(3); n.Children(4)
    With nodes(1)
        .Name = "first"
        ReDim .Scores(1 To 2)
        .Scores(1) = 1.5
        .Scores(2) = "2.25"
    End With
    ReDim nodes(2).Children(0)
    nodes(2).Children(0) = 7
    Debug.Print nodes(1).Name; LBound(nodes(1).Scores); nodes(1).Scores(1) + nodes(1).Scores(2); nodes(2).Children(0)
    Dim copy As Node
    copy = n
    ReDim copy.Children(1)
    Debug.Print UBound(copy.Children); UBound(n.Children)
    On Error Resume Next
    ReDim f.Slots(5)
    Debug.Print Err.Number; UBound(f.Slots)
    Err.Clear
    Dim m As Node
    Debug.Print UBound(m.Children)
    Debug.Print Err.Number
End Sub
