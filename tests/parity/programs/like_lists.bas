' Like with character lists, ranges, negated lists and digits, as input
' checks in real programs use them.
Function Kind(ByVal s As String) As String
    If s Like "#####" Then
        Kind = "zip code"
    ElseIf s Like "[A-Z][A-Z]-####" Then
        Kind = "plate"
    ElseIf s Like "*@*.[a-z][a-z]*" Then
        Kind = "mail"
    ElseIf s Like "[!0-9]*" Then
        Kind = "word"
    Else
        Kind = "other"
    End If
End Function

Sub Main()
    Dim samples, s
    samples = Array("75001", "AB-1234", "ab-1234", "joe@example.org", "hello", "1x", "")
    For Each s In samples
        Debug.Print "[" & s & "] " & Kind(s)
    Next
    Debug.Print "b" Like "[abc]", "d" Like "[abc]", "d" Like "[!abc]", "-" Like "[a-]"
    Debug.Print "*" Like "[*]", "x*" Like "x[*]", "?" Like "[?]", "#" Like "[#]"
    Debug.Print "a" Like "a[]", "ab" Like "a[]b", "é" Like "[à-ï]", "Z" Like "[a-z]"
    Debug.Print "F" Like "[A-Fa-f0-9]", "g" Like "[A-Fa-f0-9]", "7" Like "[A-Fa-f0-9]"
    Dim i As Integer, clean As String, text As String
    text = "Hello, World! 42"
    For i = 1 To Len(text)
        If Mid(text, i, 1) Like "[A-Za-z ]" Then clean = clean & Mid(text, i, 1)
    Next
    Debug.Print clean
    On Error Resume Next
    Debug.Print "a" Like "[a"
    Debug.Print Err.Number, Err.Description
    Err.Clear
    Debug.Print "a" Like "[z-a]"
    Debug.Print Err.Number, Err.Description
End Sub
