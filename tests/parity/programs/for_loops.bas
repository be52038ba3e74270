Sub Main()
    Dim i, j, total
    For i = 1 To 10 Step 3
        total = total + i
    Next i
    Debug.Print total
    Debug.Print i
    i = 99
    For i = 3 To 1
        Debug.Print "never"
    Next
    Debug.Print i
    For i = 3 To 1 Step -1
        Debug.Print i
    Next
    Debug.Print i
    For i = 0 To 1 Step 0.5
        Debug.Print i
    Next
    Debug.Print i
    For i = 1 To 5
        If i = 3 Then Exit For
    Next
    Debug.Print i
    For i = 1 To 3
        i = i + 10
        Debug.Print i
    Next
    Debug.Print i
    total = 0
    For i = 1 To 3
        For j = i To 3
            total = total + j
        Next j
    Next i
    Debug.Print total
    For i = 1.5 To 3
        Debug.Print i
    Next
End Sub
