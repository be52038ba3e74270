' Call statements: left-out arguments keep their places, a parenthesised
' expression that is not one pair is a value, suffixed names go by reference.
Sub Show3(a, b, c)
    Debug.Print "[" & a & "|" & b & "|" & c & "]"
End Sub

Sub Bump(n)
    n = n + 1
End Sub

Sub Main()
    Dim v, w%
    v = 1: w = 10
    Show3 1, , 3
    Show3 , "b", 
    Call Show3(1, , )
    Show3 (1) + (2), (v), v & "!"
    Bump (v) + (1)
    Debug.Print v
    Bump (v)
    Debug.Print v
    Bump w%
    Debug.Print w
    Call Bump((w))
    Debug.Print w
End Sub
