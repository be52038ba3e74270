Dim Shared(2) As String

Sub Fill(arr)
    Dim i
    For i = 0 To UBound(arr)
        arr(i) = i * 10
    Next
End Sub

Function Total(arr)
    Dim x, t
    For Each x In arr
        t = t + x
    Next
    Total = t
End Function

Sub Main()
    Dim a(3)
    Dim i, b, n
    For i = 0 To 3
        a(i) = i * i
    Next
    Debug.Print a(3)
    Debug.Print UBound(a)
    Debug.Print LBound(a)
    ReDim Preserve a(5)
    Debug.Print a(2) + a(5)
    Debug.Print UBound(a)
    b = a
    b(0) = "shared"
    Debug.Print a(0)
    Fill a
    Debug.Print a(4)
    Debug.Print Total(a)
    Debug.Print Shared(1) = ""
    Dim s(2) As String, f(1) As Boolean
    Debug.Print "[" & s(0) & "]"
    Debug.Print f(1)
    n = 2
    Dim late(n)
    Debug.Print UBound(late)
    ReDim a(1)
    Debug.Print a(0)
    Debug.Print a(1.7)
    Dim e()
    Debug.Print UBound(e)
    ReDim fresh(2)
    fresh(2) = "x"
    Debug.Print fresh(2)
    For Each i In Array1()
        Debug.Print i
    Next
End Sub

Function Array1()
    Dim r(1)
    r(0) = "first"
    r(1) = "second"
    Array1 = r
End Function
