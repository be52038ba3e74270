' Numbers with type suffixes, hexadecimal and octal literals, date
' literals and names written with a type suffix.
Const BIG = 1234567890123456789
Const NEG = -5
Const MASK = &HFF
Const ONE = 1#
Const HALF = -2.5
Const WORD = "a""b"
Const YES = True

Sub Main()
    Const LOCALBIG = 1234567890123456789
    Debug.Print BIG; NEG; MASK; ONE; HALF; WORD; YES; LOCALBIG
    Debug.Print BIG + 1, NEG * NEG, ONE / 2
    Dim s As String, n
    Debug.Print 1#
    Debug.Print 2&
    Debug.Print 3!
    Debug.Print 7%
    Debug.Print 1# / 4, 10# \ 4
    Debug.Print 2.5@ * 2
    Debug.Print &HFF&
    Debug.Print &HFF + &H10
    Debug.Print &H7FFFFFFFFFFFFFFF
    Debug.Print &HFFFFFFFFFFFFFFFF
    Debug.Print &O17
    Debug.Print &O777& - 1
    Debug.Print 9223372036854775807
    Debug.Print 9223372036854775807#
    Debug.Print 9223372036854775808
    Debug.Print 1234567890123456789
    Debug.Print 1.5E+3, 2E-2, 007
    Debug.Print "a""b" & """"
    Debug.Print #1/2/2024#
    Debug.Print #2024-03-04#
    s = "abc"
    Debug.Print s$; Len(s$); UCase$(Left$(s, 2))
    s$ = "xyz"
    Debug.Print s
    n% = 41
    Debug.Print n + 1
End Sub
