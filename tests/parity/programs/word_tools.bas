' Text tools: word statistics, Static arrays, arrays passed and returned
Option Explicit

Private Function Words(ByVal text As String) As String()
    Dim cleaned As String, i As Long, ch As String
    For i = 1 To Len(text)
        ch = Mid$(text, i, 1)
        If (UCase$(ch) >= "A" And UCase$(ch) <= "Z") Or ch = " " Then cleaned = cleaned & ch Else cleaned = cleaned & " "
    Next
    Do While InStr(cleaned, "  ") > 0
        cleaned = Replace(cleaned, "  ", " ")
    Loop
    Words = Split(Trim$(cleaned), " ")
End Function

Private Sub SortWords(list() As String)
    Dim i As Long, j As Long, t As String
    For i = LBound(list) To UBound(list) - 1
        For j = UBound(list) To i + 1 Step -1
            If StrComp(list(j), list(j - 1), vbTextCompare) < 0 Then
                t = list(j): list(j) = list(j - 1): list(j - 1) = t
            End If
        Next
    Next
End Sub

Private Function Longest(list() As String) As String
    Dim w As Variant
    For Each w In list
        If Len(w) > Len(Longest) Then Longest = w
    Next
End Function

Private Function Tally(ByVal key As String) As Long
    Static seen(25) As Long
    Dim k As Integer
    k = Asc(UCase$(Left$(key, 1))) - 65
    seen(k) = seen(k) + 1
    Tally = seen(k)
End Function

Sub Main()
    Dim list() As String, i As Long, caps As String
    list = Words("The quick, brown fox -- jumps over the lazy dog; the end.")
    Debug.Print UBound(list) + 1 & " words"
    SortWords list
    Debug.Print Join(list, " ")
    Debug.Print "longest: " & Longest(list)
    For i = 0 To UBound(list)
        If Tally(list(i)) > 1 Then Debug.Print "again: " & list(i)
    Next
    caps = StrConv("hello big world", vbProperCase)
    Debug.Print caps
    Dim s As String
    s = "abcdef"
    Mid$(s, 3, 2) = "XY"
    Debug.Print s, Left(s, 2) & Right(s, 2), Choose(2, "one", "two", "three")
    Debug.Print Switch(Len(s) > 10, "long", Len(s) > 3, "medium", True, "short")
    Debug.Print Format(1234567.891, "#,##0.0"), Format(0.256, "0.0%"), Format(-5, "0;(0)")
    Debug.Print Format("abc", ">"), Format(42, "@@@@@") & "|"
    Dim n As Long
    n = 0
    Do Until n >= 3
        n = n + 1
    Loop
    While n > 0
        n = n - 2
    Wend
    Debug.Print n
End Sub
