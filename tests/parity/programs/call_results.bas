' Elements of arrays that calls return: Split(...)(i), a function's
' array result, and arrays held in array elements.
Function Pair(a, b)
    Pair = Array(a, b)
End Function

Function Grid()
    Dim g(1, 1)
    g(1, 0) = "b-a"
    Grid = g
End Function

Sub Main()
    Dim csv As String, rows(1)
    csv = "10,20,30"
    Debug.Print Split(csv, ",")(1) + 1, UBound(Split(csv, ",")), Split("x y z")(2)
    Debug.Print Pair("left", "right")(1), Pair(1, 2)(0) + Pair(3, 4)(1), Grid()(1, 0)
    rows(0) = Array("a", "b")
    rows(1) = Split("c;d;e", ";")
    Debug.Print rows(1)(2), rows(0)(0) & rows(1)(0), Len(Split(csv, ",")(0))
    Debug.Print Mid(Split("key=value", "=")(1), 2, 3)
    On Error Resume Next
    Debug.Print Split(csv, ",")(3)
    Debug.Print Err.Number, Err.Description
    Err.Clear
    Debug.Print Len(csv)(0)
    Debug.Print Err.Number, Err.Description
End Sub
