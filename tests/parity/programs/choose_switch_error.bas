Function Grade(ByVal score As Long) As String
    Grade = Switch(score >= 90, "A", score >= 75, "B", score >= 50, "C", True, "F")
End Function

Sub Main()
    Dim k As Long
    For k = 0 To 4
        Debug.Print k; Choose(k, "one", "two", "three"); IsNull(Choose(k, "one", "two", "three"))
    Next
    Debug.Print Choose(1.5, "a", "b", "c"); Choose(2.5, "a", "b", "c")
    Debug.Print Grade(95); Grade(80); Grade(60); Grade(10)
    Debug.Print IsNull(Switch(False, 1, 1 = 2, 2))
    Debug.Print Error(11); "|"; Error$(9); "|"; Error(1000); "|"; Error(0); "|"
    On Error Resume Next
    Error 13
    Debug.Print Err.Number; Err.Description; "|"; Error; "|"; Error$
    Err.Clear
    Debug.Print Switch(True)
    Debug.Print Err.Number
    On Error GoTo 0
    Error 9
End Sub
