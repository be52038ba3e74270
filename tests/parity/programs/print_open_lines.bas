Sub Show(ByVal label As String)
    Debug.Print label;
End Sub

Sub Main()
    Debug.Print "a";
    Debug.Print "b",
    Debug.Print "c"
    Show "x"
    Show "y"
    Debug.Print
    Debug.Print 1; 2,
    Debug.Print Spc(2); "end";
End Sub
