Type Account
    Owner As String
    Balance As Double
    Active As Boolean
    Kind As Integer
End Type

Dim Accounts(2) As Account

Function Label(a As Account) As String
    With a
        Label = .Owner & ":" & Format(.Balance, "0.00") & IIf(.Active, "", " (closed)")
    End With
End Function

Sub Main()
    Dim i As Integer, total As Double, note As String
    With Accounts(0)
        .Owner = "Ann"
        .Balance = 10.5
        .Active = True
        .Kind = 2
    End With
    With Accounts(1)
        .Owner = "Bob.Smith"
        .Balance = Accounts(0).Balance * 2 + 0.5
        .Active = Not Accounts(0).Active
        .Kind = Accounts(0).Kind - 1
    End With
    Accounts(2).Owner = "Cy"
    For i = 0 To 2
        With Accounts(i)
            If .Active Then total = total + .Balance
            Select Case .Kind
                Case 2: note = "savings"
                Case 1: note = "current"
                Case Else: note = "none"
            End Select
            Debug.Print i; Label(Accounts(i)); " "; note; " "; Len(.Owner); " ."; UCase(.Owner)
        End With
    Next i
    Debug.Print "total "; total
    With Accounts(1)
        .Balance = .Balance - 1
        Debug.Print ".Balance stays text: " & .Balance
    End With
End Sub
