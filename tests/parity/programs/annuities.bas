' The annuity functions, with payments at the end and at the start of
' each period, a zero rate, left-out arguments and impossible ones.
Sub Main()
    Debug.Print Format(Pmt(0.01, 12, -1000), "0.0000")
    Debug.Print Format(Pmt(0.01, 12, -1000, 0, 1), "0.0000")
    Debug.Print Format(Pmt(0, 10, 500), "0.00"); " "; Format(Pmt(0.05 / 12, 360, 200000, -10000), "0.00")
    Debug.Print Format(FV(0.005, 24, -100), "0.00"); " "; Format(FV(0.005, 24, -100, -1000, 1), "0.00")
    Debug.Print Format(PV(0.08 / 12, 240, 500), "0.00"); " "; Format(PV(0, 12, -10, 5), "0.00")
    Debug.Print Format(NPer(0.01, -100, 1000), "0.0000"); " "; NPer(0, -50, 1000)
    Dim per As Integer, total As Double
    For per = 1 To 3
        Debug.Print per; Format(IPmt(0.01, per, 3, 1000), "0.0000"); " "; Format(PPmt(0.01, per, 3, 1000), "0.0000")
        total = total + PPmt(0.01, per, 3, 1000, , 1)
    Next
    Debug.Print Format(total, "0.0000"); " "; IPmt(0.02, 1, 12, 500, 0, 1)
    On Error Resume Next
    Debug.Print Pmt(0.01, 0, 100)
    Debug.Print Err.Number; " "; Err.Description
    Err.Clear
    Debug.Print IPmt(0.01, 4, 3, 1000)
    Debug.Print Err.Number
    Err.Clear
    Debug.Print NPer(0.1, 10, 1000)
    Debug.Print Err.Number
End Sub
