Attribute VB_Name = "Main"
' TypeOf ... Is on class instances, Nothing and other values.
Function Describe(x) As String
    If TypeOf x Is Counter Then
        Describe = "a counter at " & x.N
    ElseIf TypeOf x Is Shape Then
        Describe = "a shape named " & x.Name
    ElseIf IsObject(x) Then
        Describe = "no object"
    Else
        Describe = "a value"
    End If
End Function

Sub Main()
    Dim c As Counter, s As Shape, o As Object, things(3)
    Set c = New Counter
    c.Bump
    c.Bump
    Set s = New Shape
    s.Name = "box"
    Set things(0) = c
    Set things(1) = s
    Set things(2) = o
    things(3) = 42
    Dim i
    For i = 0 To 3
        Debug.Print i & ": " & Describe(things(i))
    Next
    Debug.Print TypeOf c Is Counter, TypeOf c Is Shape, TypeOf c Is Object
    Debug.Print TypeOf o Is Counter, TypeOf o Is Object
    Debug.Print Not TypeOf s Is Counter
    If TypeOf s Is SHAPE And s.Name = "box" Then Debug.Print "shape box"
    Dim b As Boolean
    b = TypeOf c Is Counter Or TypeOf c Is Shape
    Debug.Print b
    Set o = s
    Debug.Print TypeOf o Is Shape, o Is s, o Is Nothing
End Sub
