Attribute VB_Name = "Main"
' Accounts with a class: Property Get/Let, Optional parameters, New, Is Nothing
Sub Report(acct As Account, Optional ByVal label As String = "acct", Optional extra)
    Dim note As String
    If IsMissing(extra) Then note = "" Else note = " (" & extra & ")"
    Debug.Print label & ": " & acct.Owner & " " & Format(acct.Balance, "0.00") & note
End Sub

Sub Main()
    Dim a As New Account, b As Account
    a.Owner = "Ann"
    a.Deposit 100
    a.Withdraw 30.5
    Report a
    Report a, "first", "checked"
    If b Is Nothing Then Debug.Print "no second account"
    Set b = New Account
    b.Owner = "Bob"
    On Error Resume Next
    b.Withdraw 10
    Debug.Print Err.Number, Err.Description
    On Error GoTo 0
    Set b = a
    b.Deposit 1
    Debug.Print a.Balance, TypeOf b Is Account
    Dim accounts(1) As Account
    Set accounts(0) = a
    Debug.Print accounts(0).Owner, accounts(1) Is Nothing
End Sub
