Sub Show(ByVal a As Boolean, ByVal b As Boolean)
    Dim r As String
    r = "-"
    If a Then If b Then r = "both" Else r = "a only"
    Debug.Print a; b; r
End Sub

Function Sign(ByVal n As Long) As String
    If n > 0 Then Sign = "+" Else If n < 0 Then Sign = "-" Else Sign = "0"
End Function

Sub Main()
    Show True, True
    Show True, False
    Show False, True
    Debug.Print Sign(5); Sign(-2); Sign(0)
    Dim k As Long, hits As Long
    For k = 1 To 20
        If k Mod 2 = 0 Then If k Mod 3 = 0 Then hits = hits + 1: Debug.Print "six-ish"; k
    Next
    Debug.Print "hits"; hits
    If hits > 0 Then If hits > 5 Then Debug.Print "many" Else Debug.Print "few": Debug.Print "(few)"
    If "Then x" = "" Then Debug.Print "never" Else Debug.Print "quoted Then"
    More
End Sub

Sub More()
    Dim a As Long, b As Long, c As Long
    For a = 1 To 4
        If a > 1 Then b = b + 1: If a Mod 2 = 0 Then c = c + 10 Else c = c + 1
    Next
    Debug.Print b; c
    If b > 100 Then b = 0 Else b = -b: If c > 20 Then c = -c
    Debug.Print b; c
End Sub
