Function Risky(ByVal n As Long) As Long
    On Error GoTo Fail
    Risky = 100 \ n
    Exit Function
Fail:
    Err.Source = "Risky"
    Err.Description = "Risky failed: " & Err.Description
    Err.Raise Err.Number, Err.Source, Err.Description
End Function

Sub Main()
    On Error Resume Next
    Err.Raise 5
    Err.Source = "Mine"
    Err.Description = "changed"
    Debug.Print Err.Number, Err.Source, Err.Description
    Err.Number = 7.5
    Debug.Print Err.Number
    Err.Clear
    Debug.Print Err.Number; "["; Err.Description; "]"
    Debug.Print Risky(4)
    Debug.Print Risky(0)
    Debug.Print Err.Number, Err.Source, Err.Description
    On Error GoTo 0
    Err.Number = 3
    Debug.Print "number now"; Err.Number
End Sub
