' Random and Binary file channels: records, typed values, Seek, EOF and LOF
Type Person
    Name As String * 8
    Age As Integer
    Score As Double
    Active As Boolean
End Type

Sub Main()
    Dim p As Person, q As Person, f As Integer, i As Long, n As Long, s As String, v As Variant, b As Byte
    Dim path As String
    path = "record_files.tmp"
    f = FreeFile
    Open path For Random As #f Len = Len(p)
    p.Name = "Zoë"
    p.Age = 41
    p.Score = 2.5
    p.Active = True
    Put #f, 1, p
    p.Name = "Bartholomew"
    p.Age = -3
    p.Active = False
    Put #f, 2, p
    Get #f, 1, q
    Debug.Print "[" & q.Name & "]"; q.Age; q.Score; q.Active
    Get #f, 2, q
    Debug.Print "[" & q.Name & "]"; q.Age; q.Active
    Debug.Print "length "; LOF(f)
    Close #f
    Open path For Random As #f Len = Len(p)
    Debug.Print "records "; LOF(f) \ Len(p)
    Get #f, 2, q
    Debug.Print "at end "; EOF(f)
    Close #f
    Kill path

    Open path For Binary As #f
    i = 305419896
    s = "abc"
    v = 7
    b = 200
    Put #f, , i
    Put #f, , s
    Put #f, , v
    Put #f, , b
    Debug.Print "bytes "; LOF(f)
    Seek #f, 1
    i = 0
    Get #f, , i
    s = Space(3)
    Get #f, , s
    v = Empty
    Get #f, , v
    b = 0
    Get #f, , b
    Debug.Print i; s; v; b
    Get #f, 2, b
    Debug.Print "second byte "; b
    Close #f
    Kill path
End Sub
