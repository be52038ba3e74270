Function Fact(n)
    If n <= 1 Then
        Fact = 1
    Else
        Fact = n * Fact(n - 1)
    End If
End Function

Function Nothing1()
End Function

Function Early(n)
    Early = "small"
    If n < 10 Then Exit Function
    Early = "big"
End Function

Function Fib(n)
    If n < 2 Then Fib = n Else Fib = Fib(n - 1) + Fib(n - 2)
End Function

Sub Main()
    Debug.Print Fact(10)
    Debug.Print Fact(20)
    Debug.Print Fact(25)
    Debug.Print Nothing1()
    Debug.Print Early(5)
    Debug.Print Early(50)
    Debug.Print Fib(15)
End Sub
