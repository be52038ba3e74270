Option Explicit

Function Twice(n)
    result = n * 2
    Twice = result
End Function

Sub Main()
    For i = 1 To 3
        total = 0
        total = total + i
    Next
    Debug.Print total; i
    Debug.Print Twice(21)
    counter = 5
    Do While counter > 2
        counter = counter - 1
    Loop
    Debug.Print "counter"; counter
    Debug.Print "before";
    Debug.Print "open", neverSet
    Debug.Print "not reached"
End Sub
