Attribute VB_Name = "Main"
Private counter As Long
Private Const Label = "main"
Public Shared As String

Private Function Describe()
    Describe = "main's describe"
End Function

Sub Main()
    counter = 10
    Shared = "set by main"
    Helpers.Bump
    Helpers.Bump
    Debug.Print Label, counter, Helpers.Count()
    Debug.Print Describe(), Helpers.Info()
    Debug.Print Shared
End Sub
