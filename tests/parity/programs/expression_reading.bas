' Expressions whose reading decides the result: binding of signs and
' powers, Not against comparisons, chained comparisons, & against +.
Sub Main()
    Dim a, b, c
    Debug.Print -2 ^ 2
    Debug.Print -2 ^ 2 ^ 3
    Debug.Print 2 ^ -1
    Debug.Print 3 - -2
    Debug.Print - - 3
    Debug.Print 2 * -3 ^ 2
    Debug.Print Not 1 = 2
    Debug.Print Not 3 > 2 And True
    Debug.Print Not 0 Or 5
    Debug.Print Not (1 = 1) = False
    a = 1: b = 1: c = 1
    Debug.Print a = b = c
    c = True
    Debug.Print a = b = c
    Debug.Print a < b = False
    Debug.Print 1 + 2 & 3 + 4
    Debug.Print "1" + 2 & "x"
    Debug.Print 1 & 2 + 3
    Debug.Print "5" + "5" & "5" + 5
    Debug.Print 5 Mod 3 * 2
    Debug.Print 7 \ 2 * 2
    Debug.Print 2 * 3 Mod 4
    Debug.Print 1 Or 2 And 4
    Debug.Print 1 Xor 3 Or 4
    Debug.Print 10 - 4 - 3 & 10 / 4 / 5
    Debug.Print +"12" + 1
    Debug.Print -"12"
    Debug.Print ((((1 + 2)))) * (3)
End Sub
