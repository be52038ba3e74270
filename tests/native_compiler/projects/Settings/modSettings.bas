Attribute VB_Name = "modSettings"
Option Explicit

Public Type AppSettings
    AutoSave As Boolean
    Backup As Boolean
    Server As String
    Port As Long
    FontSize As Integer
End Type

Public gSettings As AppSettings

Private Function SettingsFile() As String
    SettingsFile = App.Path & "\settings.ini"
End Function

Public Sub LoadSettings()
    Dim f As Integer, key As String, value As String, lineText As String, eq As Integer
    With gSettings
        .AutoSave = True
        .Backup = False
        .Server = "localhost"
        .Port = 8080
        .FontSize = 1
    End With
    If Dir$(SettingsFile()) = "" Then Exit Sub
    f = FreeFile
    Open SettingsFile() For Input As #f
    Do While Not EOF(f)
        Line Input #f, lineText
        eq = InStr(lineText, "=")
        If eq > 0 Then
            key = LCase$(Trim$(Left$(lineText, eq - 1)))
            value = Trim$(Mid$(lineText, eq + 1))
            With gSettings
                Select Case key
                    Case "autosave": .AutoSave = (value = "1")
                    Case "backup": .Backup = (value = "1")
                    Case "server": .Server = value
                    Case "port": .Port = Val(value)
                    Case "fontsize": .FontSize = Val(value)
                End Select
            End With
        End If
    Loop
    Close #f
End Sub

Public Sub SaveSettings()
    Dim f As Integer
    f = FreeFile
    Open SettingsFile() For Output As #f
    With gSettings
        Print #f, "autosave=" & IIf(.AutoSave, "1", "0")
        Print #f, "backup=" & IIf(.Backup, "1", "0")
        Print #f, "server=" & .Server
        Print #f, "port=" & .Port
        Print #f, "fontsize=" & .FontSize
    End With
    Close #f
End Sub
