Sub Inc(n)
    n = n + 1
End Sub

Sub IncVal(ByVal n)
    n = n + 1
End Sub

Function Twice(ByRef n)
    n = n * 2
    Twice = n + 1
End Function

Sub Half(ByVal n As Integer)
    Debug.Print n
End Sub

Sub Main()
    Dim x, y
    x = 1
    Inc x
    Debug.Print x
    Inc (x)
    Debug.Print x
    Call Inc(x)
    Debug.Print x
    IncVal x
    Debug.Print x
    Inc x + 0
    Debug.Print x
    y = Twice(x)
    Debug.Print x
    Debug.Print y
    Half 2.5
    Half 3.5
End Sub
