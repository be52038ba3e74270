Attribute VB_Name = "modSurvey"
Option Explicit

Public Sub FillCountries(cbo As ComboBox)
    cbo.Clear
    cbo.AddItem "France"
    cbo.AddItem "Germany"
    cbo.AddItem "Spain"
    cbo.ListIndex = 0
End Sub

Public Function Chosen(opts As Object) As Integer
    Dim o As Object
    Chosen = -1
    For Each o In opts
        If o.Value = True Then Chosen = o.Index
    Next o
End Function

Public Function CaptionOf(opts As Object, ByVal Index As Integer) As String
    If Index < 0 Then
        CaptionOf = "(none)"
    Else
        CaptionOf = opts(Index).Caption
    End If
End Function
