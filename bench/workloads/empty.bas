Sub Main()
End Sub
