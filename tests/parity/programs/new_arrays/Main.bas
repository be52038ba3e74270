' Arrays declared As New: every element is an instance of its own from
' the start, at module level and in a procedure; a class keeps the name
' it was declared with.
Dim Fleet(2) As New Barco

Sub Main()
    Dim i As Integer
    Dim Local(1 To 2) As New Barco
    Dim One As New Barco
    Fleet(1).Name = "b"
    Local(2).Name = "x"
    For i = 0 To 2
        Debug.Print "[" & Fleet(i).Name & "]";
    Next
    Debug.Print
    Debug.Print Local(2).Name; " "; TypeName(Local(1)); " "; TypeName(One); " "; (Fleet(0) Is Fleet(1))
    Debug.Print Barco_Count; " "; Made
    Fleet(1).Report
    Debug.Print Counter.Describe("x")
End Sub
