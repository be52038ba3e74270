' Imp and Eqv next to the other logical operators: logical on Booleans,
' bitwise on whole numbers, and binding below Or and Xor.
Function Check(label, ok)
    Debug.Print label & ": " & ok
    Check = ok
End Function

Sub Main()
    Dim a As Boolean, b As Boolean
    For Each a In Array(True, False)
        For Each b In Array(True, False)
            Debug.Print a, b, a Imp b, a Eqv b
        Next
    Next
    Debug.Print 5 Imp 3, 5 Eqv 3
    Debug.Print 12 Imp 10, 12 Eqv 10
    Debug.Print 0 Eqv 0, -1 Imp 0
    Debug.Print True Or False Imp False
    Debug.Print False Xor True Eqv True
    Debug.Print False Imp True Eqv False
    Debug.Print 1 < 2 Imp 3 < 2
    Debug.Print Not True Imp False
    Dim n As Integer
    n = 6 Eqv 6
    Debug.Print n
    n = 2.5 Imp 1
    Debug.Print n
    ' both sides run, as for And and Or
    Debug.Print Check("left", False) Imp Check("right", True)
    If (1 = 1) Eqv (2 = 2) Then Debug.Print "both true"
    Debug.Print "x" & (True Eqv True)
    Debug.Print "a" Imp 1
End Sub
