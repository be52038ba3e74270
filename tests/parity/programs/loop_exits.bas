Sub Main()
    Dim i, j, k
    For i = 1 To 3
        j = 0
        Do
            j = j + 1
            If j = 2 Then Exit For
        Loop
    Next
    Debug.Print i & " " & j
    k = 0
    Do
        k = k + 1
        For i = 1 To 5
            If i = 2 Then Exit Do
        Next
    Loop
    Debug.Print k & " " & i
    For i = 1 To 2
        For j = 1 To 10
            If j = 3 Then Exit For
        Next
        Debug.Print i & ":" & j
    Next
    k = 0
    For i = 1 To 10
        While k < 100
            k = k + 1
            If k = 5 Then Exit For
        Wend
    Next
    Debug.Print i & " " & k
    For i = 1 To 3
        Select Case i
            Case 2
                Exit For
        End Select
    Next
    Debug.Print i
End Sub
