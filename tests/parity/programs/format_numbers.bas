Sub Main()
    Debug.Print Format(1234.5, "Currency")
    Debug.Print Format(1234.5, "Fixed")
    Debug.Print Format(1234.5, "Standard")
    Debug.Print Format(0.125, "Percent")
End Sub
