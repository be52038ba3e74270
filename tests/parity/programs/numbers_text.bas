Sub Main()
    Debug.Print 1 / 3
    Debug.Print 0.1 + 0.2
    Debug.Print 123456789012345
    Debug.Print 6 / 3
    Debug.Print 6 / 3 + 0
    Debug.Print 1E+15
    Debug.Print 1E+16
    Debug.Print 0.0001
    Debug.Print 0.00001
    Debug.Print 1.5E+16
    Debug.Print 12345678901234567890
    Debug.Print -0.5
    Debug.Print 100.25
    Debug.Print 2 ^ 10
    Debug.Print 2 ^ -1
    Debug.Print 1.
    Debug.Print 1e3
    Debug.Print 3 * 1.5
    Debug.Print 10 / 4
    Debug.Print 0.1 * 3
    Debug.Print 1 / 7
    Debug.Print -1 / 3
    Debug.Print 2.5E-300 * 1E-10
End Sub
