Attribute VB_Name = "modLog"
Option Explicit

Private Type LogEntry
    Stamp As String
    Level As String
    Message As String
End Type

Private Entries() As LogEntry
Private EntryCount As Long

Private Function ParseLine(ByVal sLine As String, e As LogEntry) As Boolean
    Dim p As Long, rest As String
    sLine = Trim$(sLine)
    If Len(sLine) = 0 Or Left$(sLine, 1) = "#" Then Exit Function
    p = InStr(sLine, "]")
    If Left$(sLine, 1) <> "[" Or p = 0 Then Exit Function
    e.Stamp = Mid$(sLine, 2, p - 2)
    rest = Trim$(Mid$(sLine, p + 1))
    p = InStr(rest, ":")
    If p = 0 Then Exit Function
    e.Level = UCase$(Trim$(Left$(rest, p - 1)))
    e.Message = Trim$(Mid$(rest, p + 1))
    ParseLine = True
End Function

Private Sub WriteSample(ByVal sPath As String)
    Dim f As Integer
    f = FreeFile
    Open sPath For Output As #f
    Print #f, "# service log"
    Print #f, "[2024-03-01 08:00:01] info: service started"
    Print #f, "[2024-03-01 08:00:05] warn: disk C: at 91%"
    Print #f, "[2024-03-01 08:01:17] error: cannot open C:\data\input.csv"
    Print #f, "garbage line"
    Print #f, "[2024-03-01 08:02:00] Info: retry ok"
    Print #f, "[2024-03-01 08:03:30] error: timeout after 30 s"
    Close #f
End Sub

Private Sub LoadLog(ByVal sPath As String)
    Dim f As Integer, sLine As String, e As LogEntry
    EntryCount = 0
    ReDim Entries(0 To 9)
    f = FreeFile
    Open sPath For Input As #f
    Do While Not EOF(f)
        Line Input #f, sLine
        If ParseLine(sLine, e) Then
            If EntryCount > UBound(Entries) Then ReDim Preserve Entries(0 To EntryCount * 2)
            Entries(EntryCount) = e
            EntryCount = EntryCount + 1
        End If
    Loop
    Close #f
End Sub

Private Function CountLevel(ByVal sLevel As String) As Long
    Dim i As Long
    For i = 0 To EntryCount - 1
        If Entries(i).Level = sLevel Then CountLevel = CountLevel + 1
    Next
End Function

Private Function FileNameOf(ByVal sPath As String) As String
    FileNameOf = Mid$(sPath, InStrRev(sPath, "/") + 1)
End Function

Sub Main()
    Dim sPath As String, sOut As String, i As Long, parts() As String, words As String, f As Integer
    sPath = App.Path & "/service.log"
    WriteSample sPath
    If Dir(sPath) = "" Then
        Debug.Print "missing"
        Exit Sub
    End If
    Debug.Print FileNameOf(sPath) & " " & FileLen(sPath) & " bytes"
    LoadLog sPath
    Debug.Print EntryCount & " entries, " & CountLevel("ERROR") & " errors, " & CountLevel("INFO") & " info"
    sOut = App.Path & "/errors.txt"
    f = FreeFile
    Open sOut For Output As #f
    For i = 0 To EntryCount - 1
        If Entries(i).Level = "ERROR" Then
            parts = Split(Entries(i).Stamp, " ")
            Print #f, parts(1) & vbTab & Replace(Entries(i).Message, "\", "/")
        End If
    Next
    Close #f
    f = FreeFile
    Open sOut For Input As #f
    Do Until EOF(f)
        Line Input #f, words
        Debug.Print words
    Loop
    Close #f
    parts = Split("info,warn,error", ",")
    For i = 0 To UBound(parts)
        parts(i) = UCase$(Left$(parts(i), 1)) & Mid$(parts(i), 2) & "=" & CountLevel(UCase$(parts(i)))
    Next
    Debug.Print Join(parts, "; ")
    Debug.Print Format$(CountLevel("ERROR") / EntryCount, "0.0%")
    Kill sOut
    Kill sPath
End Sub
