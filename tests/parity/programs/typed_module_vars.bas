Attribute VB_Name = "Module1"
Option Explicit

Public Counter As Long
Public Total As Double
Public Flag As Boolean
Public Log As String
Public Small As Byte

Sub Note(ByVal text As String)
    Log = Log & text & ";"
End Sub

Sub Halve(x As Double)
    x = x / 2
End Sub

Sub Show(x As Double)
    Debug.Print "show " & x
End Sub

Sub Spread(ByVal n As Long)
    Dim parts(1)
    parts(0) = 1
    parts(1) = 2
    For Each n In parts
        Debug.Print "each " & n
    Next
End Sub

Function Widen(ByVal k As Integer) As Long
    For k = 32760 To 32770 Step 5
    Next
    Widen = k
End Function

Sub Main()
    Debug.Print "start " & Counter & " " & Total & " " & Flag & " [" & Log & "] " & Small
    For Counter = 1 To 2 Step 0.5
        Note "c" & Counter
    Next
    Debug.Print Log
    Show Total
    Total = 9
    Halve Total
    Debug.Print "halved " & Total
    Dim d As Double
    Show d
    Halve d
    Debug.Print "d " & d
    Flag = Counter > 1
    Debug.Print "flag " & Flag & " " & (Flag + 1)
    For Small = 250 To 260 Step 5
    Next
    Debug.Print "small " & Small & " " & Small * 2
    Debug.Print "widen " & Widen(1)
    Spread 3
    Small = Small - 100
End Sub
