' A Property Get that takes arguments, read with parentheses as a method
' would be: obj.Item(i), obj.Item(i).Field, in expressions and calls.
Sub Show(s As Shelf, ByVal depth As Long)
    Dim i As Long
    For i = 0 To s.Count - 1
        Debug.Print String(depth * 2, " ") & s.Item(i).Title & " (" & s.Label(i, ":") & ")"
        Show s.Item(i), depth + 1
    Next
End Sub

Sub Main()
    Dim root As New Shelf, a As Shelf
    Set a = root.Add("books")
    a.Add "novels"
    a.Add("poems").Add "sonnets"
    root.Add "music"
    Show root, 0
    Debug.Print root.Item(0).Item(1).Item(0).Title
    On Error Resume Next
    Debug.Print root.Item(5).Title
    Debug.Print Err.Number; Err.Description
End Sub
