Sub Main()
    Dim d As Double, s As String, v
    Debug.Print CDbl("3.5")
    Debug.Print CDbl("3")
    Debug.Print Val(" 12 ")
    Debug.Print CStr(0.5)
    Debug.Print Str(5)
    Debug.Print Hex(255)
    Debug.Print Hex(-1)
    Debug.Print Oct(8)
    d = 3
    Debug.Print d
    d = d + 0
    Debug.Print d
    s = 12
    Debug.Print s & "!"
    s = 1 / 4
    Debug.Print s
    v = "007"
    Debug.Print v + 1
    Debug.Print CSng(2)
    Debug.Print Abs(-3)
    Debug.Print Abs(-2.5)
    Debug.Print Sqr(16)
    Debug.Print Sqr(16) + 0
    Debug.Print Sgn(-4)
    Debug.Print Sgn(0.5)
End Sub
