' Arguments: left-out ones, nested calls, by reference unless the
' argument is in parentheses, objects compared with Is, Like inside And.
Function Pair(a, b)
    Pair = "(" & a & "," & b & ")"
End Function


Sub Bump(n)
    n = n + 1
End Sub

Function Twice(ByVal n)
    Twice = n * 2
End Function

Sub Main()
    Dim v, o, t
    v = 1
    Bump v
    Debug.Print v
    Bump (v)
    Debug.Print v
    Call Bump((v))
    Debug.Print v
    Call Bump(v)
    Debug.Print v
    Debug.Print Pair(Twice(Twice(v)), Pair(Len("abc"), Twice(1) + 1))
    Debug.Print Pair(Mid("hello", 2, 3), Left(Right("abcdef", 4), 2))
    Debug.Print Pair(, 2)
    Debug.Print Pair(1, )
    Debug.Print o Is Nothing
    Set o = Nothing
    Debug.Print o Is Nothing
    Debug.Print Not o Is Nothing
    t = "abc"
    Debug.Print t Like "a*" And t Like "*c"
    Debug.Print t Like "?b?" And Not t Like "x*"
    Debug.Print t Like "a*" Or 1 = 2 And t Like "z*"
    Debug.Print Len(t) = 3 And t Like "*b*"
End Sub
