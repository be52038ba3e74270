Attribute VB_Name = "Module1"
Option Explicit

' Folders and files: MkDir, FileCopy, Dir with patterns and folders,
' FileLen, GetAttr, Kill with a pattern, Name, RmDir, and the errors they
' raise.
Const Root = "/tmp/corvane-parity-files"

Sub Cleanup()
    On Error Resume Next
    Kill Root & "/sub/*.*"
    RmDir Root & "/sub"
    Kill Root & "/*.*"
    RmDir Root
End Sub

Sub WriteFile(ByVal path As String, ByVal text As String)
    Open path For Output As #1
    Print #1, text
    Close #1
End Sub

Sub Main()
    Dim f As String, n As Integer
    Cleanup
    MkDir Root
    MkDir Root & "/sub"
    WriteFile Root & "/b.txt", "hello"
    WriteFile Root & "/a.log", "x"
    FileCopy Root & "/b.txt", Root & "/c.TXT"
    f = Dir(Root & "/*.txt")
    Do While f <> ""
        Debug.Print "found "; f
        f = Dir()
    Loop
    f = Dir(Root & "/*", vbDirectory)
    Do While Len(f) > 0
        n = n + 1
        f = Dir
    Loop
    Debug.Print "entries"; n
    Debug.Print FileLen(Root & "/c.TXT"); GetAttr(Root & "/sub"); GetAttr(Root & "/b.txt")
    Debug.Print Dir(Root & "/a.log") = "a.log"; Dir(Root & "/none.txt") = ""
    Kill Root & "/*.txt"
    Name Root & "/a.log" As Root & "/sub/moved.log"
    Debug.Print "left "; Dir(Root & "/*.*"); " moved "; Dir(Root & "/sub/*.log")
    Name Root & "/sub/moved.log" As Root & "/a.log"
    On Error Resume Next
    MkDir Root
    Debug.Print "mkdir again:"; Err.Number
    Err.Clear
    Kill Root & "/missing.txt"
    Debug.Print "kill missing:"; Err.Number
    Err.Clear
    RmDir Root & "/nothing"
    Debug.Print "rmdir missing:"; Err.Number
    Err.Clear
    Name Root & "/none.log" As Root & "/other.log"
    Debug.Print "rename missing:"; Err.Number
    Err.Clear
    Name Root & "/a.log" As Root & "/sub"
    Debug.Print "rename onto a folder:"; Err.Number
    On Error GoTo 0
    Cleanup
    Debug.Print "gone:"; Dir(Root, vbDirectory) = ""
End Sub
