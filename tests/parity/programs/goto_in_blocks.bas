' GoTo as "continue" and "retry" inside loops and branches.
Function FirstOdd(values As Variant) As Long
    Dim v As Variant
    FirstOdd = -1
    For Each v In values
        If v Mod 2 = 0 Then GoTo NextValue
        FirstOdd = v
        Exit For
NextValue:
    Next
End Function

Sub Main()
    Dim i As Long, total As Long, tries As Long
    For i = 1 To 6
        If i Mod 3 = 0 Then GoTo Continue
        total = total + i
        If i = 5 Then
            Debug.Print "five"
            GoTo Continue
        End If
        Debug.Print "kept"; i
Continue:
    Next
    Debug.Print "total"; total
    i = 0
    Do While i < 3
        i = i + 1
Retry:
        tries = tries + 1
        If tries Mod 2 = 1 Then GoTo Retry
    Loop
    Debug.Print "tries"; tries
    Select Case total
        Case Is > 10
            If total > 100 Then GoTo Done
            Debug.Print "between"
Done:
            Debug.Print "done"
    End Select
    Debug.Print FirstOdd(Array(4, 8, 7, 9)); FirstOdd(Array(2))
End Sub
