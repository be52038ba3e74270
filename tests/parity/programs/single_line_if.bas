Sub Main()
    Dim k As Long, i As Long, s As String
    k = 120
    If k >= 48 And k <= 50 Then Debug.Print "in": k = 0
    Debug.Print k
    If k = 120 Then Debug.Print "a": Debug.Print "b" Else Debug.Print "c": Debug.Print "d"
    If k = 1 Then Debug.Print "a": Debug.Print "b" Else Debug.Print "c": Debug.Print "d"
    For i = 1 To 5: If i = 3 Then s = s & "three:": Exit For
    Next
    Debug.Print s; i
End Sub
