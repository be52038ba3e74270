Const First = 2, Second = "two", Third As Double = First * 1.5
Private Const Low = 1, High = Low + 9

Sub Main()
    Const Inner = 7, Outer = Inner * 2
    Debug.Print First; Second; Third
    Debug.Print Low & ".." & High
    Debug.Print Inner + Outer
End Sub
