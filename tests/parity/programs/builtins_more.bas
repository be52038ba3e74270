Sub Main()
    Debug.Print Round(2.5) & " " & Round(3.5) & " " & Round(2.345, 2) & " " & Round(7)
    Debug.Print Log(Exp(2)) & " " & Sin(0) & " " & Cos(0) & " " & Atn(1) * 4 & " " & Tan(0)
    Debug.Print CBool("true") & " " & CBool(0) & " " & CBool("2") & " " & CByte(200.5) & " " & CCur(1.23456)
    Debug.Print TypeName(1) & " " & TypeName(100000) & " " & TypeName(1.5) & " " & TypeName("s") & " " & TypeName(True)
    Debug.Print VarType(1) & " " & VarType("s") & " " & VarType(1.5) & " " & VarType(Array(1))
    Debug.Print TypeName(Array(1, 2)) & " " & IsObject(Nothing) & " " & IsObject(1)
    Debug.Print RGB(255, 0, 0) & " " & RGB(1, 2, 3) & " " & QBColor(9)
    Debug.Print ChrW(233) & " " & AscW("é") & " " & Chr(65) & Asc("a")
    Dim r1, r2
    Rnd -1
    Randomize 42
    r1 = Rnd
    Rnd -1
    Randomize 42
    r2 = Rnd()
    Debug.Print (r1 = r2) & " " & (r1 >= 0 And r1 < 1)
    Debug.Print Timer >= 0
    On Error Resume Next
    Debug.Print Log(0)
    Debug.Print "log: " & Err.Number
    Err.Clear
    Debug.Print QBColor(16)
    Debug.Print "qb: " & Err.Number
    On Error GoTo 0
    Debug.Print CByte(300)
End Sub
