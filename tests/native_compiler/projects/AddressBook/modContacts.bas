Attribute VB_Name = "modContacts"
Option Explicit

Public Type Contact
    Name As String * 40
    Phone As String * 20
    Mail As String * 60
End Type

Public gContacts() As Contact
Public gCount As Long

Public Sub AddContact(c As Contact)
    gCount = gCount + 1
    ReDim Preserve gContacts(1 To gCount)
    gContacts(gCount) = c
End Sub

Public Sub RemoveContact(ByVal n As Long)
    Dim i As Long
    For i = n To gCount - 1
        gContacts(i) = gContacts(i + 1)
    Next i
    gCount = gCount - 1
    If gCount > 0 Then ReDim Preserve gContacts(1 To gCount)
End Sub

Public Sub LoadContacts(ByVal path As String)
    Dim f As Integer, c As Contact
    On Error GoTo Failed
    gCount = 0
    If Dir$(path) = "" Then Exit Sub
    f = FreeFile
    Open path For Random As #f Len = Len(c)
    Do While Not EOF(f)
        Get #f, , c
        If EOF(f) Then Exit Do
        AddContact c
    Loop
    Close #f
    Exit Sub
Failed:
    MsgBox "Could not read " & path & ": " & Err.Description, vbCritical
End Sub

Public Sub SaveContacts(ByVal path As String)
    Dim f As Integer, i As Long
    f = FreeFile
    Open path For Random As #f Len = Len(gContacts(1))
    For i = 1 To gCount
        Put #f, i, gContacts(i)
    Next i
    Close #f
End Sub
