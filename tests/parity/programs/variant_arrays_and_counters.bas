' Variant arrays with lower bounds, stores that leave the whole numbers,
' module variables and by-reference counters in Variant code.
Dim total

Sub CountUp(n, ByVal times)
    For n = n To n + times - 1
        total = total + n
    Next
End Sub

Function Sum(list)
    Dim i
    Sum = 0
    For i = LBound(list) To UBound(list)
        Sum = Sum + list(i)
    Next
End Function

Function Total(ParamArray items())
    Dim x
    Total = 0
    For Each x In items
        Total = Total + x
    Next
End Function

Sub Main()
    Dim w(1 To 4), i, n, r

    For i = 1 To 4
        w(i) = i * 3037000499
    Next
    Debug.Print w(1); w(4)
    w(2) = w(4) * w(4)
    Debug.Print w(2)
    w(3) = "5"
    Debug.Print Sum(w)
    w(4) = w(3) & w(3)
    Debug.Print w(4); w(4) + 1

    n = 10
    CountUp n, 3
    Debug.Print total; n
    total = 9223372036854775800
    CountUp n, 2
    Debug.Print total

    ' elements feeding each other, and Empty
    Dim v(2)
    v(0) = 1
    v(1) = v(0) + 1
    v(2) = v(1) \ 2 - v(0) Mod 2
    Debug.Print v(0); v(1); v(2)
    r = 0
    For i = 2 To 0 Step -1
        r = r * 10 + v(i)
    Next
    Debug.Print r
    v(1) = Empty
    Debug.Print v(1) + 4

    ' computed arguments, by value and as a ParamArray
    i = 9223372036854775806
    Debug.Print Total(i + 1, i - 1, 2); Total(n * 2, n Mod 5, "3")
    CountUp i, 1
    Debug.Print total

    ' a subscript past the end keeps its message
    w(5) = 1
End Sub
