Function Risky(n)
    Risky = 10 / n
End Function

Sub Quiet()
    On Error Resume Next
    Dim x
    x = 1 / 0
    Debug.Print "quiet goes on"
End Sub

Sub Main()
    Dim x, y
    On Error Resume Next
    x = 1 / 0
    Debug.Print Err.Number <> 0
    Debug.Print Len(Err.Description) > 0
    Err.Clear
    Debug.Print Err.Number
    Debug.Print "[" & Err.Description & "]"
    y = Risky(0)
    Debug.Print "after risky: [" & y & "]"
    y = Risky(4)
    Debug.Print y
    Err.Clear
    Quiet
    Debug.Print Err.Number <> 0
    Err.Raise 1000, "Src", "Boom"
    Debug.Print Err.Number
    Debug.Print Err.Description
    Err.Clear
    x = "abc" * 2
    Debug.Print Err.Number <> 0
    On Error GoTo 0
    Debug.Print Err.Number
    Debug.Print "end"
    x = 1 / 0
    Debug.Print "not reached"
End Sub
