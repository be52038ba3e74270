' Case tests written in every shape both engines read alike: Is with
' and without spaces, ranges, the word To inside a string, lists.
Function Kind(v)
    Select Case v
        Case Is>100
            Kind = "big"
        Case Is <= -1
            Kind = "negative"
        Case 0, 1 To 3
            Kind = "small"
        Case 4 To 4 + 5
            Kind = "middle"
        Case Else
            Kind = "other"
    End Select
End Function

Function Word(t)
    Select Case t
        Case "Go To"
            Word = "phrase"
        Case "a" To "f"
            Word = "early"
        Case Is>="x"
            Word = "late"
        Case Else
            Word = "-"
    End Select
End Function

Sub Main()
    Dim n As Long
    Debug.Print Kind(500); " "; Kind(-3); " "; Kind(2); " "; Kind(7); " "; Kind(50)
    Debug.Print Word("Go To"), Word("c"), Word("zed"), Word("m")
    For n = -1 To 11 Step 4
        Select Case n
            Case Is<0: Debug.Print "below";
            Case 3 To 7: Debug.Print "inside";
            Case Else: Debug.Print "else";
        End Select
        Debug.Print ";";
    Next
    Debug.Print
    Debug.Print "a"; Spc(2); "b", "c"; Tab(12); "d";
    Debug.Print
    Debug.Print , "zone"; ("x;y"), Len("a,b")
End Sub
