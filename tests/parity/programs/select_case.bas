Function Describe(x)
    Select Case x
        Case 1, 2
            Describe = "one or two"
        Case 3
            Describe = "three"
        Case Else
            Describe = "other"
    End Select
End Function

Sub Main()
    Debug.Print Describe(1)
    Debug.Print Describe(2)
    Debug.Print Describe("1")
    Debug.Print Describe(3)
    Debug.Print Describe(2.5)
    Dim s
    s = "b"
    Select Case s
        Case "a"
            Debug.Print "A"
        Case "B"
            Debug.Print "upper B"
        Case "b"
            Debug.Print "lower b"
    End Select
    Select Case "three"
        Case "two", "three"
            Debug.Print "a word"
    End Select
    Select Case 1 + 1
        Case 2
            Debug.Print "first"
        Case 2
            Debug.Print "second"
    End Select
End Sub
