Attribute VB_Name = "Module1"
Option Explicit

Function Pick(ByVal k As Long) As Long
    If k > 0 Then
        Pick = k * 2
    Else
        Pick = "none"
    End If
End Function

Function IsBig(ByVal x As Long) As Long
    IsBig = x > 10
End Function

Function Nothing0(ByVal x As Long) As Long
    If x > 100 Then Nothing0 = 1
End Function

Function Fact(ByVal n As Long) As Long
    If n <= 1 Then
        Fact = 1
        Exit Function
    End If
    Fact = n * Fact(n - 1)
End Function

Function Sq(ByVal n As Integer) As Long
    Sq = n * n
End Function

Sub AddMark(t As String)
    t = t & "!"
End Sub

Sub Main()
    Debug.Print Pick(4) & " " & Pick(0) & " " & IsBig(11) & " " & IsBig(3)
    Debug.Print Nothing0(5) & " " & Nothing0(500)
    Debug.Print Fact(10) & " " & Fact(20) & " " & Fact(25)
    Debug.Print Sq(181) + Sq(3) & " " & Sq(-4) \ 3
    Dim s As String, t As String, i As Long
    For i = 1 To 12
        s = s & i & ","
    Next
    t = s
    s = s & "x"
    Debug.Print t & " | " & s & " | " & Len(t) & " " & Len(s)
    Debug.Print Mid(s, 10, 5) & " " & Left(s, 3) & " " & Right(s, 4) & " " & InStr(s, "10") & " " & InStr(20, s, ",")
    Dim w As String
    For i = 1 To 9
        w = w & Mid("aé日😀b", (i Mod 5) + 1, 1)
    Next
    Debug.Print w & " " & Len(w) & " " & Mid(w, 3, 4) & " " & Right(w, 3) & " " & InStr(2, w, "😀")
    w = w & w
    Debug.Print Len(w) & " " & Mid(w, 9, 3)
    Dim v
    v = 5
    v = v & "a" & 1.5
    Debug.Print v
    AddMark t
    AddMark t
    Debug.Print t
    Dim n As Long
    n = 7
    Dim u As String
    u = n
    u = u & n + 1
    Debug.Print u & " " & Len(u)
    Dim e As String
    Debug.Print "[" & e & "]" & Len(e) & (e = "")
End Sub
