Sub Main()
    Dim i As Integer, l As Long, y As Byte
    Debug.Print CInt(2.5)
    Debug.Print CInt(3.5)
    Debug.Print CInt(-2.5)
    Debug.Print CLng(1.5)
    Debug.Print CInt(40000)
    Debug.Print Int(-2.5)
    Debug.Print Fix(-2.5)
    Debug.Print Int(2.7)
    i = 2.5
    Debug.Print i
    i = 3.5
    Debug.Print i
    i = -0.5
    Debug.Print i
    l = 123456.5
    Debug.Print l
    y = 254.5
    Debug.Print y
    i = "12"
    Debug.Print i + 1
    Debug.Print CInt("7.5")
End Sub
