' Variant arithmetic that leaves the whole numbers: results past 64 bits
' become Doubles, other kinds mix in, and failures keep their messages.
Function Twice(v)
    Twice = v + v
End Function

Sub Main()
    Dim a, b, c, s, i, k
    a = 9223372036854775806
    b = a + 1
    Debug.Print b
    b = b + 1
    Debug.Print b
    c = -9223372036854775807 - 1
    Debug.Print c - 1
    Debug.Print -c
    Debug.Print c * -1
    Debug.Print 3037000500 * 3037000500
    Debug.Print Twice(4611686018427387904)
    Debug.Print c \ -1
    Debug.Print c Mod -1

    ' Doubles, texts, Booleans and Empty in the same expressions
    a = 2.5
    b = 4
    Debug.Print a + b; b * a; b - a; b \ 2; b Mod 3
    a = "12"
    Debug.Print a + b; b - a; a * 2
    a = True
    Debug.Print a + b; a * b; a = -1
    Debug.Print k + 1; k * 3; k - 2
    k = Null
    Debug.Print IsNull(k + 1)
    a = "x"
    Debug.Print a & b & 1

    ' comparisons of mixed kinds
    a = 3
    b = 3.5
    Debug.Print a < b; a = 3; b > a; a <> 3
    a = "10"
    b = 9
    Debug.Print a > b; a = 10

    ' a Variant array holding numbers, texts and Doubles
    Dim v(5)
    For i = 0 To 5
        v(i) = i * 2
    Next
    v(2) = "7"
    v(3) = 1.5
    s = 0
    For i = 0 To 5
        s = s + v(i)
    Next
    Debug.Print s
    v(4) = 9223372036854775807
    Debug.Print v(4) + v(1)
    Debug.Print v(5) - v(0)

    ' For loops on Variant counters
    s = 0
    For i = 1 To 10 Step 3
        s = s + i
    Next
    Debug.Print s; i
    For i = 10 To 1 Step -4
        s = s - i
    Next
    Debug.Print s; i
    For i = 1 To 2 Step 0.5
        s = s + i
    Next
    Debug.Print s; i
    For i = 9223372036854775805 To 9223372036854775807
        s = i
    Next
    Debug.Print s; i
    k = 0
    For i = 1 To 5
        i = i + 1
        k = k + 1
    Next
    Debug.Print k; i
    For i = "2" To 4
        k = k + i
    Next
    Debug.Print k

    ' Select Case on Variants of several kinds
    For Each i In Array(1, 2.5, "3", 4, 9223372036854775807)
        Select Case i
            Case 1
                Debug.Print "one"
            Case 2 To 3
                Debug.Print "two to three"; i
            Case Is > 100
                Debug.Print "big"
            Case Else
                Debug.Print "other"; i
        End Select
    Next

    ' errors keep their messages
    a = 5
    b = 0
    Debug.Print a Mod b
End Sub
