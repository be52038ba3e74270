Function Twice(n)
    result = n * 2
    Twice = result
End Function

Sub Main()
    For i = 1 To 3
        total = total + i
    Next
    Debug.Print total
    Debug.Print i
    Debug.Print neverSet
    s = "a" & neverSet & "b"
    Debug.Print s
    Debug.Print Twice(21)
    For Each p In Split("x y")
        Debug.Print p
    Next
    counter = counter + 1
    counter = counter + 1
    Debug.Print counter
End Sub
