Sub Main()
    Dim i
    Debug.Print "a"; "b"
    Debug.Print "x", "y"; 5
    Debug.Print "no newline";
    Debug.Print "next"
    Debug.Print 1; -2; 3
    Debug.Print "é", "ü"
    Debug.Print "[";
    For i = 1 To 3
        Debug.Print i;
    Next
    Debug.Print "]"
    Debug.Print "a"; Spc(3); "b"; Tab(10); "c"
    Debug.Print , "zone"
    Debug.Print "left",
    Debug.Print
    DoEvents
    Debug.Print Left$("abc", 2) & UCase$("x") & Format$(2, "00")
End Sub
