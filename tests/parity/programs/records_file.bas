' Records with String * n fields and array fields, returned by functions, written to a file and read back
Private Type Person
    Name As String * 8
    Age As Integer
    Tags(2) As String
End Type

Private people() As Person

Private Function Make(ByVal n As String, ByVal a As Integer) As Person
    Dim p As Person
    p.Name = n
    p.Age = a
    p.Tags(0) = LCase$(Left$(n, 1))
    Make = p
End Function

Sub Main()
    Dim i As Integer, f As Integer, line As String, path As String
    ReDim people(0)
    people(0) = Make("Alice", 31)
    ReDim Preserve people(2)
    people(1) = Make("Bob", 25)
    people(2) = Make("Christopher", 40)
    For i = 0 To UBound(people)
        With people(i)
            Debug.Print "[" & .Name & "] " & .Age & " " & .Tags(0) & " " & Len(.Name)
        End With
    Next
    path = "people_test.txt"
    f = FreeFile
    Open path For Output As #f
    For i = 0 To UBound(people)
        Print #f, Trim$(people(i).Name) & ";" & people(i).Age
    Next
    Close #f
    f = FreeFile
    Open path For Input As #f
    Do While Not EOF(f)
        Line Input #f, line
        Debug.Print Split(line, ";")(0), CInt(Split(line, ";")(1)) + 1
    Loop
    Close #f
    Kill path
    Debug.Print Dir(path) = ""
    Dim copy As Person
    copy = people(1)
    copy.Age = 99
    Debug.Print people(1).Age, copy.Age
End Sub
