Sub Main()
    Debug.Print 2 + 3 * 4
    Debug.Print (2 + 3) * 4
    Debug.Print 2 ^ 3 ^ 2
    Debug.Print -2 ^ 2
    Debug.Print Not 1 = 2
    Debug.Print 1 Or 0 And 0
    Debug.Print 10 - 2 - 3
    Debug.Print 100 / 10 / 2
    Debug.Print 7 Mod 4 * 2
    Debug.Print "a" & 1 + 2
    Debug.Print 1 + 2 & 3
    Debug.Print 2 * -3
    Debug.Print 1 < 2 = True
    Debug.Print True Or False Xor True
    Debug.Print 8 / 2 ^ 2
End Sub
