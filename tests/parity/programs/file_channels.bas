Sub Main()
    Dim n, line, a, b, c, d, count
    Dim path As String
    path = "/tmp/corvane-parity-file-channels.txt"
    n = FreeFile
    Open path For Output As #n
    Print #n, "first line"
    Print #n, "café"; " "; 42
    Print #n, "a", "b"
    Print #n, "open ";
    Print #n, "closed"
    Write #n, "text, with comma", 3.5, True, -7
    Close #n
    Open path For Append As #1
    Print #1, "appended €"
    Close #1
    Open path For Input As #2
    Debug.Print LOF(2)
    Do While Not EOF(2)
        Line Input #2, line
        count = count + 1
        Debug.Print count & ": [" & line & "] " & Len(line)
    Loop
    Close #2
    Open path For Input As #3
    Line Input #3, line
    Line Input #3, line
    Line Input #3, line
    Line Input #3, line
    Input #3, a, b, c, d
    Debug.Print a & "|" & b & "|" & c & "|" & d & "|" & TypeName(b) & " " & TypeName(c)
    Close
    On Error Resume Next
    Line Input #3, line
    Debug.Print "closed: " & Err.Number
    Err.Clear
    Open "/tmp/corvane-no-such-folder/x.txt" For Input As #4
    Debug.Print "missing: " & Err.Number
    Err.Clear
    Open path For Input As #5
    Line Input #5, line
    Open path For Input As #5
    Debug.Print "already: " & Err.Number
    Close #5
    Kill path
    Open path For Input As #6
    Debug.Print "killed: " & Err.Number
End Sub
