' ParamArray takes the remaining arguments; an Optional Variant left out is missing
Function Total(ByVal label As String, ParamArray amounts() As Variant) As String
    Dim v As Variant, sum As Double
    For Each v In amounts
        sum = sum + v
    Next v
    Total = label & " " & sum & " (" & (UBound(amounts) - LBound(amounts) + 1) & ")"
End Function

Function Describe(Optional v As Variant, Optional s As String, Optional n As Integer = 7) As String
    Describe = IsMissing(v) & " [" & s & "] " & n
End Function

Sub Main()
    Debug.Print Total("a", 1, 2, 3.5)
    Debug.Print Total("none")
    Debug.Print Total("one", 10)
    Debug.Print Describe()
    Debug.Print Describe(1)
    Debug.Print Describe(, "x")
    Debug.Print Describe("v", "s", 2)
End Sub
