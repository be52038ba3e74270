Sub Main()
  Dim x, o As Object, c As Collection
  On Error Resume Next
  x.Caption = 5
  Debug.Print "a", Err.Number, Err.Description
  Err.Clear
  o.Caption = 5
  Debug.Print "b", Err.Number, Err.Description
  Err.Clear
  Debug.Print x.Caption
  Debug.Print "c", Err.Number, Err.Description
  Err.Clear
  Debug.Print o.Caption
  Debug.Print "d", Err.Number, Err.Description
  Err.Clear
  x.Refresh
  Debug.Print "e", Err.Number, Err.Description
  Err.Clear
  o.Refresh
  Debug.Print "f", Err.Number, Err.Description
  Err.Clear
  Debug.Print c.Count
  Debug.Print "g", Err.Number, Err.Description
  Err.Clear
  c.Add 5
  Debug.Print "h", Err.Number, Err.Description
  Err.Clear
  Label9.Caption = "never declared"
  Debug.Print "i", Err.Number, Err.Description
  Err.Clear
  Debug.Print Len(Label9.Caption)
  Debug.Print "j", Err.Number, Err.Description
  Err.Clear
  With x
    .Name = 1
    Debug.Print "l", Err.Number, Err.Description
    Err.Clear
    .Refresh
    Debug.Print "m", Err.Number, Err.Description
  End With
  Dim cells(2)
  Err.Clear
  cells(1).Name = "x"
  Debug.Print "n", Err.Number, Err.Description
  App.Title = "Renamed"
  Debug.Print App.Title
  On Error GoTo 0
  Set c = New Collection
  c.Add 5
  Debug.Print "k", c.Count
  x.Refresh
End Sub
