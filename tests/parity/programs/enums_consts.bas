' Enum-typed variables, typed constants, recursion, Exit Function in a loop, Print separators and the usual conversions
Enum Color
    Red = 1
    Green
    Blue = 10
End Enum
Const MAXN As Integer = 5, GREETING = "Hi"

Private Function Fact(ByVal n As Long) As Double
    If n <= 1 Then Fact = 1 Else Fact = n * Fact(n - 1)
End Function

Private Function FirstNegative(a() As Long) As Long
    Dim i As Long
    FirstNegative = -1
    For i = LBound(a) To UBound(a)
        If a(i) < 0 Then
            FirstNegative = i
            Exit Function
        End If
    Next
End Function

Sub Main()
    Debug.Print Red, Green, Blue, MAXN * 2, GREETING & "!"
    Debug.Print "abc" = "ABC", "a" < "B", StrComp("a", "B")
    Debug.Print Fact(10), Fact(20)
    Dim a(3) As Long
    a(2) = -4
    Debug.Print FirstNegative(a)
    Debug.Print "x"; Tab(6); "y"; Spc(2); "z"
    Debug.Print Format(1.5, "0.00"), Format(1234.5, "Standard"), Format(0.5, "Percent"), Format(3, "Currency")
    Debug.Print CInt(2.5), CInt(3.5), CLng(-2.5), Int(7 / 2), 7 \ 2, 7 Mod 3, -7 Mod 3, 2 ^ 10
    Debug.Print Len(CStr(123)), Str(5), Str(-5), CStr(1.5), 1E+20, 0.1 + 0.2
    Dim c As Color
    c = Blue
    Select Case c
        Case Red: Debug.Print "red"
        Case Blue: Debug.Print "blue"
    End Select
    Debug.Print IIf(c = Blue, "yes", "no"), Choose(Green, "a", "b", "c")
End Sub
