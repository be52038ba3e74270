Dim counter As Long

Function NextId() As Long
    counter = counter + 1
    NextId = counter * 10
End Function

Function Sum3(ByVal n As Long) As Long
    Dim k As Long
    For k = 1 To n
        Sum3 = Sum3 + k
    Next
    If Sum3 > 5 Then Sum3 = Sum3 * 2
End Function

Function Joined(ByVal n As Long) As String
    Dim k As Long
    For k = 1 To n
        Joined = Joined & CStr(k)
    Next
End Function

Function Fact(ByVal n As Long) As Double
    If n <= 1 Then
        Fact = 1
    Else
        Fact = n * Fact(n - 1)
    End If
End Function

Function Ready() As Boolean
    Ready = counter > 2
End Function

Sub Main()
    Dim a As Long, b As Long
    a = NextId
    b = NextId + NextId
    Debug.Print a; b; Sum3(4); Joined(5); Fact(10)
    counter = 5
    b = counter + NextId
    Debug.Print b; counter
    If Ready Then Debug.Print "ready"
    Debug.Print NextId() + NextId
End Sub
