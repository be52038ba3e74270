Sub Main()
    Dim s, t As String
    s = "hello world"
    Mid(s, 1, 1) = "J"
    Debug.Print s
    Mid(s, 7) = "WORLD!!!"
    Debug.Print s
    t = "été ça"
    Mid(t, 2, 2) = "xyz"
    Debug.Print t
    Mid$(t, 5) = "漢"
    Debug.Print t & " " & Len(t)
    Mid(t, 20) = "zz"
    Debug.Print t
    Mid(t, 1, 0) = "Q"
    Debug.Print t
    Mid(t, 0) = "x"
End Sub
