Sub Main()
    Debug.Print "[" & Trim("  a b  ") & "]"
    Debug.Print "[" & LTrim("  a  ") & "]"
    Debug.Print "[" & RTrim("  a  ") & "]"
    Debug.Print "[" & Trim(vbTab & "x" & vbCrLf) & "]"
    Debug.Print "[" & Trim(Chr(160) & "y" & Chr(12288)) & "]"
    Debug.Print Len(Space(3))
    Debug.Print String(3, "xy")
    Debug.Print String(2, "é")
    Debug.Print String(3, 65)
    Debug.Print Len(vbCrLf)
    Debug.Print "[" & Space(0) & "]"
End Sub
