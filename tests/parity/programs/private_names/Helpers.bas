Attribute VB_Name = "Helpers"
Private counter As Long
Private Const Label = "helpers"

Private Function Describe()
    Describe = "helpers' describe"
End Function

Public Sub Bump()
    counter = counter + 1
    Shared = Shared & "+"
End Sub

Public Function Count()
    Count = counter
End Function

Public Function Info()
    Info = Label & ": " & Describe()
End Function
