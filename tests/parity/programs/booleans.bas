Sub Main()
    Dim b As Boolean
    Debug.Print b
    b = 5
    Debug.Print b
    Debug.Print Not 5
    Debug.Print Not 0
    Debug.Print True And False
    Debug.Print 5 And 3
    Debug.Print True Xor True
    Debug.Print 0 Or ""
    Debug.Print CStr(True)
    Debug.Print True + 1
    Debug.Print "x" & True
    Debug.Print Not "a"
    Debug.Print Not ""
    b = "False"
    Debug.Print b
    Debug.Print 1 < 2 And 2 < 3
End Sub
