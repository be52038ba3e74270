Sub Main()
    Dim n
    n = 0
    Do While n < 3
        n = n + 1
    Loop
    Debug.Print n
    Do Until n = 0
        n = n - 1
    Loop
    Debug.Print n
    Do
        n = n + 2
    Loop While n < 5
    Debug.Print n
    Do
        n = n - 1
    Loop Until n < 3
    Debug.Print n
    While n < 10
        n = n * 2
    Wend
    Debug.Print n
    Do
        n = n + 1
        If n > 20 Then Exit Do
    Loop
    Debug.Print n
    n = 5
    Do While n > 100
        n = 0
    Loop
    Debug.Print n
End Sub
