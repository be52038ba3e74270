Function Safe(ByVal d As Long) As Long
    ' The handler's label stays even when its On Error line is gone.
    'On Error GoTo Failed
    Safe = 10 \ d
    Exit Function
Failed:
    Safe = -1
End Function

Sub Main()
    Dim k As Long, hits As Long
Start:
    For k = 1 To 5
        If k Mod 2 = 0 Then: hits = hits + 1
        If k = 5 Then: Debug.Print "five": Debug.Print "still five"
    Next
    Debug.Print "hits"; hits
    Debug.Print Safe(2)
Finish:
    Debug.Print "done"
End Sub
