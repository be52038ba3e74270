Function Counter() As Long
    Static n As Long
    n = n + 1
    Counter = n
End Function

Function Trail(ByVal piece As String) As String
    Static text As String, calls
    text = text & piece
    calls = calls + 1
    Trail = calls & ":" & text
End Function

Sub Tally()
    Static seen(2) As Integer
    Dim fresh As Integer
    seen(1) = seen(1) + 1
    fresh = fresh + 1
    Debug.Print seen(1); fresh
End Sub

Sub Main()
    Debug.Print Counter(); Counter(); Counter()
    Debug.Print Trail("a")
    Debug.Print Trail("b")
    Debug.Print Trail("c")
    Tally
    Tally
End Sub
