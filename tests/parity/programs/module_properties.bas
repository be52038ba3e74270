' Property Get, Let and Set in a standard module: by bare name, indexed, read qualified by the module's name, and as the target of an assignment that reads it
Attribute VB_Name = "Shapes"
Private mName As String
Private mScores(1 To 3) As Long
Private mOwner As Collection
Private mChanges As Long

Public Property Get Title() As String
    Title = "[" & mName & "]"
End Property

Public Property Let Title(ByVal s As String)
    mName = UCase$(s)
    mChanges = mChanges + 1
End Property

Public Property Get Score(ByVal i As Integer) As Long
    Score = mScores(i)
End Property

Public Property Let Score(ByVal i As Integer, ByVal v As Long)
    If v < 0 Then Err.Raise 380, , "Invalid property value"
    mScores(i) = v
End Property

Public Property Get Owner() As Collection
    Set Owner = mOwner
End Property

Public Property Set Owner(c As Collection)
    Set mOwner = c
End Property

Public Property Get Changes() As Long
    Changes = mChanges
End Property

Sub Main()
    Dim c As Collection
    Debug.Print Title & " " & Changes
    Title = "abc"
    Title = Title & "d"
    Debug.Print Title & " " & Changes & " " & Shapes.Title
    Score(2) = 40
    Score(3) = Score(2) + 2
    Debug.Print Score(1) & " " & Score(2) & " " & Score(3)
    Set c = New Collection
    c.Add "x"
    Set Owner = c
    Owner.Add "y"
    Debug.Print Owner.Count & " " & c.Count & " " & Owner.Item(2)
    On Error Resume Next
    Score(1) = -5
    Debug.Print Err.Number & " " & Score(1)
End Sub
