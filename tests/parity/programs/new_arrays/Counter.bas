Public Made As Long
Public Const FLEET_NAME = "armada"

Public Function Barco_Count() As Long
    Barco_Count = Made
End Function

Public Function Describe(ByVal s As String) As String
    Describe = "module " & s
End Function

Public Sub Note(ByVal s As String)
    Debug.Print "note: " & s
End Sub
