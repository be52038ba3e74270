Sub Show(v, pattern)
    Debug.Print "[" & Format(v, pattern) & "]";
End Sub

Sub Main()
    Dim values, patterns, i, j
    values = Array(0, 1, -1, 0.5, -0.5, 0.125, 2.675, 9.995, 99999.9999, 123456789, -987654.321, 1E-05, 6.02E+23, 1.5E+300, 4.9E-300, 12345678901234.5)
    patterns = Array("0", "0.00", "#.##", "#,##0.0", "000000", "#", "0.0%", "0.00E+00", "0.###e+000", "#,#", "$#,##0.00;($#,##0.00)", "0.0;-0.0;""nil""", "\#0.0 ""x""")
    For i = 0 To UBound(values)
        For j = 0 To UBound(patterns)
            Show values(i), patterns(j)
        Next
        Debug.Print
    Next
    ' Many placeholders, long literals and digits beyond the placeholders.
    Debug.Print Format(1 / 3, "0." & String(30, "0")); "|"; Format(123456789, "0"); "|"; Format(1E+20, "0.0"); "|"; Format(0.000001, "0.0000000000")
    Debug.Print Format(-0.0001, "0.00"); "|"; Format(-0.0001, "0.00;(0.00)"); "|"; Format(1234.5, String(20, "#") & ".00"); "|"; Format(5, "0000000000000000000000000")
End Sub
