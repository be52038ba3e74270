Sub Main()
    Dim path As String, whole As String, parts() As String, n As Integer
    path = "/tmp/corvane-parity-input-function.txt"
    Open path For Output As #1
    Print #1, "first line"
    Print #1, "second, with a comma"
    Print #1, "café"
    Close #1
    Open path For Input As #1
    whole = Input(LOF(1), 1)
    Close #1
    parts = Split(whole, vbCrLf)
    Debug.Print UBound(parts); Len(whole)
    For n = 0 To UBound(parts)
        Debug.Print "[" & parts(n) & "]"
    Next
    Open path For Binary As #2
    Debug.Print Input(5, 2); "|"; Input(4, #2)
    Line Input #2, whole
    Debug.Print "rest: "; whole
    Close #2
    On Error Resume Next
    Open path For Input As #3
    whole = Input(LOF(3) + 1, 3)
    Debug.Print Err.Number, Err.Description
    Close #3
    Open path For Append As #3
    whole = Input(1, 3)
    Debug.Print Err.Number, Err.Description
    Close #3
    Kill path
End Sub
