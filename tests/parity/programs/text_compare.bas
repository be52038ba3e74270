Sub Main()
    Debug.Print InStr(1, "ABC", "b", vbTextCompare), InStr(1, "ABC", "b", vbBinaryCompare), InStr(2, "aXbxc", "X", 1)
    Debug.Print InStrRev("ABCabc", "B", -1, vbTextCompare), InStrRev("ABCabc", "B", -1, 0)
    Debug.Print StrComp("abc", "ABC", vbTextCompare), StrComp("abc", "ABC")
    Debug.Print InStr("ÉCOLE", "é"), InStr(1, "ÉCOLE", "é", 1)
End Sub
