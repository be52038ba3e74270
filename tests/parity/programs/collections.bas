Function Total(items As Collection) As Long
    Dim v
    For Each v In items
        Total = Total + v
    Next
End Function

Sub Main()
    Dim c As Collection, k As Long
    Set c = New Collection
    For k = 1 To 5
        c.Add k * 10, "K" & k
    Next
    c.Add 5, "first", 1
    c.Add 55, "mid", , "k5"
    Debug.Print c.Count; c(1); c("k3"); c.Item(7); Total(c)
    c.Remove "FIRST"
    c.Remove 1
    Debug.Print c.Count; c(1); TypeName(c)
    On Error Resume Next
    c.Add 1, "k2"
    Debug.Print Err.Number; Err.Description
    Err.Clear
    Debug.Print c(99)
    Debug.Print Err.Number; Err.Description
    Err.Clear
    Debug.Print c("nope")
    Debug.Print Err.Number
End Sub
