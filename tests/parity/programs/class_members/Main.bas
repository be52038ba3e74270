Sub Main()
    Dim s As New Shelf
    s.Add "Dune"
    s.Add "Emma"
    s.Add "Ulysses"
    Debug.Print s.Describe
    ' a member without parameters, its result indexed
    Debug.Print s.Books(2), s.Books("dune"), s.Titles(2), UBound(s.Titles)
    Debug.Print s.Self.Label, s.Self Is s
    Debug.Print Split("a,b,c", ",")(1), s.Titles()(0), s.Books()(3), s.Self().Books()("emma")
    On Error Resume Next
    Debug.Print s.Label(1)
    Debug.Print Err.Number, Err.Description
End Sub
