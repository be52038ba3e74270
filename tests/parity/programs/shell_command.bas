Sub Main()
    ' Shell starts a program without waiting and gives its process id
    Dim id As Long
    id = Shell("true")
    Debug.Print id > 0, Shell("sh -c ""exit 3""", vbHide) > 0
    ' a program that is not there: VB's "File not found", naming it
    On Error Resume Next
    id = Shell("notepad.exe readme.txt", vbNormalFocus)
    Debug.Print Err.Number; Err.Description
    Err.Clear
    id = Shell("""C:\Program Files\App\app.exe"" /s")
    Debug.Print Err.Number; Err.Description
    Err.Clear
    id = Shell("   ")
    Debug.Print Err.Number
End Sub
