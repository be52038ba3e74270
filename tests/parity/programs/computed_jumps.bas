' On n GoTo / GoSub: the n-th label; 0 or past the list goes on
Function Kind(ByVal n As Integer) As String
    On n GoTo Small, Medium, , Large
    Kind = "other"
    Exit Function
Small:
    Kind = "small"
    Exit Function
Medium:
    Kind = "medium"
    Exit Function
Large:
    Kind = "large"
End Function

Sub Main()
    Dim k As Integer, x As Double
    For k = 0 To 3
        On k GoSub One, Two
        Debug.Print "after " & k
    Next k
    For k = 0 To 5
        Debug.Print k & " " & Kind(k)
    Next k
    x = 1.5
    On x GoSub One, Two
    x = 2.5
    On x GoSub One, Two
    On Error Resume Next
    k = -1
    On k GoTo Done
    Debug.Print "error " & Err.Number
Done:
    Exit Sub
One:
    Debug.Print "one"
    Return
Two:
    Debug.Print "two"
    Return
End Sub
