Sub Main()
    Debug.Print 10 < "9"
    Debug.Print "10" > "9"
    Debug.Print "10" > 9
    Debug.Print "abc" = "ABC"
    Debug.Print "abc" < "abd"
    Debug.Print "Z" < "a"
    Debug.Print "é" > "z"
    Debug.Print "日" > "本"
    Debug.Print 1 = 1.0
    Debug.Print True = -1
    Debug.Print 2 <> 2
    Debug.Print 3 >= 3
    Debug.Print 0.1 + 0.2 = 0.3
    Debug.Print "" = 0
    Debug.Print "abc" <> "abc "
End Sub
