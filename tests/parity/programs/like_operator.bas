Sub Main()
    Debug.Print "abc" Like "a*"
    Debug.Print "ABC" Like "a*"
    Debug.Print "a.c" Like "a?c"
    Debug.Print "a[b]" Like "a[b]"
    Debug.Print "é" Like "?"
    Debug.Print "日本" Like "日*"
    Debug.Print "abc" Like "*c"
    Debug.Print "abc" Like "a*d"
    Debug.Print "" Like "*"
    Debug.Print "a" & vbLf & "b" Like "a*b"
    Debug.Print "a#1" Like "a#?"
    Debug.Print 123 Like "1*3"
End Sub
