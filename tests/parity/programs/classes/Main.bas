Attribute VB_Name = "Main"
Sub Main()
    Dim a As Counter, b As Counter
    Set a = New Counter
    Set b = New Counter
    a.Add 2
    a.Add 3
    b.Add 10
    Debug.Print a.Total
    Debug.Print b.Total
    a.Label = "first"
    Debug.Print a.Label
    Debug.Print a.Describe()
    Debug.Print b.Describe()
    Set b = a
    b.Add 1
    Debug.Print a.Total
    Debug.Print a Is b
    Debug.Print a.Initialized
End Sub
