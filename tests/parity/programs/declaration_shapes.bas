Option Base 0

Enum Flags
    FlagA = &H1
    FlagB = &H10
    FlagC
    FlagD = -&H2
End Enum

Type Pair
    Left As Long
    Right As String * 3
    Items(2) As Integer
End Type

Const First = 2
Private Const Second = "two"
Public Total As Long, Label As String * 4
Dim Grid(1 To 2, 0 To 2) As Long, Names(3) As String

Function Span(ByVal low As Long, Optional ByVal high As Long) As Long
    Span = high - low
End Function

Function Sum(ByRef values() As Long) As Long
    Dim i As Long, total As Long
    For i = LBound(values) To UBound(values)
        total = total + values(i)
    Next
    Sum = total
End Function

Sub Main()
    Debug.Print FlagA; FlagB; FlagC; FlagD
    Dim p As Pair
    p.Left = 7
    p.Right = "abc"
    p.Items(2) = 9
    Debug.Print p.Left; "[" & p.Right & "]"; p.Items(2)
    Debug.Print First; Second
    Total = 3
    Label = "wxyz"
    Debug.Print Total; "[" & Label & "]"
    Grid(2, 2) = 5
    Debug.Print LBound(Grid, 1); UBound(Grid, 1); LBound(Grid, 2); UBound(Grid, 2); Grid(2, 2)
    Debug.Print UBound(Names)
    Dim a(1 To 3) As Long, s$, n%
    a(1) = 1: a(2) = 2: a(3) = 3
    Debug.Print Sum(a)
    s = "text"
    n = 4
    Debug.Print s; n
    Debug.Print Span(1, 10)
    Dim m() As Long
    ReDim m(Len("ab") To (1 + 2) * 2)
    Debug.Print LBound(m); UBound(m)
    ReDim Preserve m(2 To 7)
    m(7) = 1
    Debug.Print UBound(m); m(7)
    Const Local1 = First * 10
    Debug.Print Local1
End Sub
