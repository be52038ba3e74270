' The description Err carries for each number raised without one, and the
' number each kind of failure carries.
Sub Describe(n)
    On Error Resume Next
    Err.Raise n
    Debug.Print Err.Number & ": " & Err.Description
End Sub

Sub Main()
    Describe 3021
    Describe 3265
    Describe 11
    Describe 94
    Describe 1234
    Dim a(2), x, s
    On Error Resume Next
    x = a(5)
    Debug.Print Err.Number & " " & Err.Description
    Err.Clear
    x = 1 / 0
    Debug.Print Err.Number & " " & Err.Description
    Err.Clear
    x = 5 \ 0
    Debug.Print Err.Number & " " & Err.Description
    Err.Clear
    s = "abc" * 2
    Debug.Print Err.Number
End Sub
