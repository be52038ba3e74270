Sub Main()
    Debug.Print Replace("aAbBaA", "a", "-", 1, -1, vbTextCompare), Replace("aAbBaA", "a", "-")
    Debug.Print Replace("one two one two", "one", "1", 5), Replace("x.y.z", ".", "/", 1, 1)
    Debug.Print "[" & Replace("abc", "a", "x", 4) & "]", Replace("abc", "", "x", 2), Replace("ÉtÉ", "é", "e", , , 1)
    Debug.Print Replace("aaa", "a", "bb", 2, 0), Replace("Hello World", "O", "0", , 1, vbTextCompare)
    On Error Resume Next
    Debug.Print Replace("abc", "a", "x", 0)
    Debug.Print Err.Number
End Sub
