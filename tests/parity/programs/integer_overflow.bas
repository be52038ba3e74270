Sub Main()
    Dim a, b
    a = 2147483647
    Debug.Print a + 1
    a = 9223372036854775807
    Debug.Print a
    Debug.Print a + 1
    Debug.Print a * 2
    b = -9223372036854775807
    Debug.Print b - 2
    Debug.Print 2 ^ 62
    Debug.Print 2 ^ 63
    Debug.Print 3037000500 * 3037000500
    Debug.Print 123456789 * 1000
    Debug.Print -a
    Debug.Print &HFFFF
    Debug.Print &H7FFFFFFF + 1
End Sub
