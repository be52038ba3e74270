Attribute VB_Name = "Module1"
Option Explicit

Function Add(a As Long, b As Long) As Long
    Add = a + b
End Function

Function Twice(ByVal n As Integer) As Integer
    n = n * 2
    Twice = n
End Function

Sub Bump(n As Long)
    n = n + 1
End Sub

Sub SetText(v)
    v = "12"
End Sub

Function Noisy(label, value)
    Debug.Print "eval " & label
    Noisy = value
End Function

Sub Main()
    Dim i As Long, s As Long, k As Integer, b As Byte
    Dim d As Double, f As Single, t As Boolean
    Debug.Print "unset double: " & d & " single: " & f & " bool: " & t & " long: " & i
    d = 2
    Debug.Print (d) & " " & (d + 1) & " " & (d * 0.5) & " " & (d / 4) & " " & (-d) & " " & (d - 2)
    d = 4
    Debug.Print (d * 0.5) & " " & (d \ 3) & " " & (d Mod 3) & " " & (7.5 Mod 2)
    s = 0
    For i = 1 To 20
        s = s + i Mod 7
        If s > 30 Then s = 0
    Next
    Debug.Print "loop" & " " & (s) & " " & (i)
    For i = 10 To 1 Step -3
        s = s + i
    Next i
    Debug.Print "down" & " " & (s) & " " & (i)
    k = 2.5
    Debug.Print "half even" & " " & (k)
    k = 3.5
    Debug.Print (k) & " " & (-7 \ 2) & " " & (-7 Mod 3) & " " & (7 Mod -3)
    s = -7
    k = 2
    Debug.Print (s \ k) & " " & (s Mod k) & " " & (s / k) & " " & (s * k) & " " & (s ^ k)
    b = 255
    Debug.Print "byte" & " " & (b) & " " & (b + 1) & " " & (b * b * b * b * b * b * b * b)
    s = 2147483647
    Debug.Print "big" & " " & (s + 1) & " " & (s * s * s) & " " & (-s - 1)
    t = 5
    Debug.Print "bool" & " " & (t) & " " & (t + 1) & " " & (Not t) & " " & (t And 0) & " " & (t Or 0) & " " & (t = True)
    Debug.Print "add" & " " & (Add(2147483647, 1)) & " " & (Add(1.5, 2)) & " " & (Twice(300))
    s = 5
    Bump s
    Debug.Print "bump" & " " & (s)
    Dim v
    v = 7
    Bump v
    Debug.Print "bump variant" & " " & (v)
    SetText s
    Debug.Print "written back" & " " & (s) & " " & (s + 1)
    Dim txt As String
    txt = 5
    SetText txt
    Debug.Print "text" & " " & (txt & txt) & " " & (txt + 1)
    If Noisy("left", 1) = 1 And Noisy("right", 0) = 1 Then Debug.Print "both" Else Debug.Print "not both"
    Debug.Print "compare" & " " & (1 < 1.5) & " " & (s = 12) & " " & (d > 3.99) & " " & (k <> 4)
    Dim h As Long
    For h = 1 To 3 Step 1
    Next
    Debug.Print "after" & " " & (h)
    Dim c As Long
    c = 0
    Select Case s
        Case 1, 2
            c = 1
        Case 12
            c = 12
        Case Else
            c = -1
    End Select
    Debug.Print "select" & " " & (c)
    On Error Resume Next
    k = 40000
    Debug.Print "overflow" & " " & (Err.Description) & " " & (k)
    Err.Clear
    s = s \ 0
    Debug.Print "div" & " " & (Err.Description)
    Err.Clear
    s = s Mod 0
    Debug.Print "mod" & " " & (Err.Description)
    Err.Clear
    d = 1 / 0
    Debug.Print "fdiv" & " " & (Err.Description)
    Err.Clear
    b = -1
    Debug.Print "byte low" & " " & (Err.Description) & " " & (b)
    On Error GoTo 0
    Dim g As Long
    For g = 1 To 2 Step 0.5
        Debug.Print "half step" & " " & (g)
    Next
    d = 2147483647
    d = d * d * 4
    Debug.Print "huge" & " " & (d)
    s = 3000000000#
End Sub
