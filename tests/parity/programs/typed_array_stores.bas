Type Pt
    X As Long
End Type

Sub Main()
    Dim whole(3) As Long, small(2) As Integer, b(1) As Byte, d(1) As Double, s(1) As String, flags(1) As Boolean
    Dim v(1), grow() As Integer, pts(1) As Pt
    whole(0) = 2.5
    whole(1) = 3.5
    whole(2) = "12"
    small(0) = -2.5
    b(0) = 255
    d(0) = 7
    s(0) = 42
    flags(0) = 3
    v(0) = 2.5
    Debug.Print whole(0); whole(1); whole(2); small(0); b(0); d(0) / 2; s(0) & "!"; flags(0); v(0)
    ReDim grow(2)
    grow(1) = 9.5
    ReDim Preserve grow(4)
    grow(4) = 1.5
    Debug.Print grow(1); grow(4); UBound(grow)
    pts(1).X = 5
    Erase whole, grow, pts
    Debug.Print UBound(whole); whole(1); UBound(grow); pts(1).X
    On Error Resume Next
    small(1) = 40000
    Debug.Print Err.Number; Err.Description
    Err.Clear
    b(1) = -1
    Debug.Print Err.Number; Err.Description
End Sub
