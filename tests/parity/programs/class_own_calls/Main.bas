Sub Main()
    Dim c As New Parser
    Debug.Print c.Run("  alpha beta  gamma")
    Debug.Print c.Twice(21)
End Sub
