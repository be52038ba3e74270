Const Base = 100

Function Describe(a, Optional ByVal b As Long = 10, Optional c As String = "x" & "y", Optional d As Double = Base / 8)
    Describe = a & "," & b & "," & c & "," & d
End Function

Sub Show(Optional ByVal times As Integer = 2, Optional text As String = "hi")
    Dim i As Integer
    For i = 1 To times
        Debug.Print text;
    Next
    Debug.Print
End Sub

Sub Main()
    Debug.Print Describe(1)
    Debug.Print Describe(1, 2)
    Debug.Print Describe(1, 2, "w")
    Debug.Print Describe(1, 2, "w", 4.5)
    Show
    Show 3
    Show 1, "once"
End Sub
