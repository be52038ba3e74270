Sub Main()
    Dim f As Integer, d As Double, s As String, b As Boolean, v
    Open "/tmp/corvane-parity-read-targets.txt" For Output As #1
    Write #1, 42, 2.5, "text", True, 7
    Close #1
    Open "/tmp/corvane-parity-read-targets.txt" For Input As #2
    Input #2, f, d, s, b, v
    Close #2
    Debug.Print f; d; s; b; v
    Dim lines() As String
    ReDim lines(0)
    Open "/tmp/corvane-parity-read-targets.txt" For Input As #1
    Line Input #1, lines(UBound(lines))
    Close #1
    Debug.Print lines(0)
    Kill "/tmp/corvane-parity-read-targets.txt"
    Dim c As New Coder
    Debug.Print c.Scramble("abc")
End Sub
