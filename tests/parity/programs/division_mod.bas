Sub Main()
    Debug.Print 7 \ 2
    Debug.Print -7 \ 2
    Debug.Print 7 \ -2
    Debug.Print -7 Mod 3
    Debug.Print 7 Mod -3
    Debug.Print 7 Mod 3
    Debug.Print 7.5 Mod 2
    Debug.Print -7.5 Mod 2
    Debug.Print 7.5 \ 2
    Debug.Print -7.5 \ 2
    Debug.Print 6 Mod 3
    Debug.Print 10 \ 3 * 3
    Debug.Print 2 * 3 Mod 4
End Sub
