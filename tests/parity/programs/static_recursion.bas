Function Depth(ByVal k As Long) As Long
    Static calls As Long
    Dim ignored As Long
    calls = calls + 1
    If k > 0 Then ignored = Depth(k - 1)
    Depth = calls
End Function

Sub Walk(ByVal n As Integer)
    Static total As Long, path As String
    total = total + n
    path = path & CStr(n)
    If n > 0 Then Walk n - 1
    Debug.Print n; total; path
End Sub

Sub Main()
    Debug.Print Depth(3)
    Debug.Print Depth(0)
    Walk 3
    Walk 1
End Sub
