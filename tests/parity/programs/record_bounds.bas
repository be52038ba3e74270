Private Type Sample
    Label As String
    Values(1 To 3) As Long
    Marks(-1 To 1) As String
    Plain(2) As Integer
End Type

Sub Main()
    Dim s As Sample, t As Sample, i As Long
    s.Label = "first"
    For i = 1 To 3
        s.Values(i) = i * 10
    Next
    s.Marks(-1) = "low"
    s.Marks(1) = "high"
    s.Plain(2) = 7
    Debug.Print LBound(s.Values); UBound(s.Values); LBound(s.Marks); UBound(s.Marks); UBound(s.Plain)
    Debug.Print s.Values(1) + s.Values(3); s.Marks(-1); s.Marks(0); s.Marks(1); s.Plain(2)
    t = s
    t.Values(2) = 99
    Debug.Print s.Values(2); t.Values(2); LBound(t.Values)
    On Error Resume Next
    Debug.Print s.Values(0)
    Debug.Print Err.Number
End Sub
