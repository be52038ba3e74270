Sub Main()
    Debug.Print "1" + "1"
    Debug.Print "a" + 1
    Debug.Print 1 + "1"
    Debug.Print "1.5" + 1
    Debug.Print " 2 " + "3"
    Debug.Print "a" + "b"
    Debug.Print "1" & "1"
    Debug.Print 1 & 2
    Debug.Print "x" + True
    Debug.Print "2" * "3"
    Debug.Print "10" - 4
    Debug.Print "" + 5
    Debug.Print "1e2" + 1
End Sub
