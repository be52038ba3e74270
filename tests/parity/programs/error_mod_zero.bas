Sub Main()
    Debug.Print 5.5 Mod 2
    Debug.Print 5.5 Mod 0
End Sub
