Const Greeting = "Hello"
Const Limit = 10
Const Ratio = 1.5

Enum Colour
    Red
    Green = 5
    Blue
End Enum

Sub Main()
    Debug.Print Greeting
    Debug.Print Limit * 2
    Debug.Print Ratio
    Debug.Print Red
    Debug.Print Green
    Debug.Print Blue
    Debug.Print &HFF
    Debug.Print &H10&
    Debug.Print True
    Debug.Print vbYes
    Debug.Print Len(vbCrLf & vbTab)
    Debug.Print "[" & Empty & "]"
End Sub
