Attribute VB_Name = "modMain"
Option Explicit

Private Sub ShowDates()
    Dim d As Date
    d = DateSerial(2024, 2, 28)
    Debug.Print Format$(d, "yyyy-mm-dd"), Format$(DateAdd("d", 2, d), "yyyy-mm-dd")
    Debug.Print DateDiff("d", d, DateSerial(2024, 3, 31)), Weekday(d), Month(d), Year(d)
    Debug.Print Format$(TimeSerial(13, 5, 9), "hh:nn:ss"), Hour(TimeSerial(13, 5, 9))
    Debug.Print IsDate("2024-02-30"), IsDate("2024-02-29")
    Debug.Print Len(Format$(Now, "yyyy")) = 4, Timer >= 0
End Sub

Sub Main()
    Dim a As Variant, b As Variant, failed As Boolean, i As Integer
    Debug.Print JoinAll(", ", "red", "", "green", 42)
    Debug.Print "[" & Pad("ab", 5) & "][" & Pad("ab", 5, True) & "][" & Pad("7", 3, True, "0") & "]"
    a = "left": b = 2
    Swap a, b
    Debug.Print a; b
    Debug.Print SafeDivide(7, 2, failed); failed
    Debug.Print SafeDivide(1, 0, failed); failed; LastError
    For i = 1 To 3
        Debug.Print "ticket"; NextTicket()
        DoEvents
    Next
    Debug.Print ParseIntOr("12"), ParseIntOr("x12"), ParseIntOr("", 0)
    Debug.Print Retry(3, 5); " "; Retry(1, 5); " "; Retry(9, 4)
    ShowDates
    Debug.Print APP_NAME & " done"
End Sub
