Sub Main()
    ' Sections split at ";" outside quotes and escapes.
    Debug.Print Format(-5, """a;b""0;\;0"); "|"; Format(-5, "0\;x;(0)"); "|"; Format(0, "0;;\z\e\r\o")
    Debug.Print Format(5, "0;(0);zero;ignored"); "|"; Format(0, "0;(0);zero;ignored"); "|"; Format(-5, ";0")
    ' Grouping, percent and exponent pieces.
    Debug.Print Format(1234567, "#,#"); "|"; Format(0.5, "0.0%"); "|"; Format(0.000123, "0.0e-00"); "|"; Format(123456, "##0.0E+0")
    Debug.Print Format(12, "0 ""units"""); "|"; Format(3.5, "#.00 \k\g"); "|"; Format(7, "#"); "|"; Format(0, "#")
    ' A quoted date letter is text, an unquoted one makes a date pattern.
    Debug.Print Format(5, """d""0"); "|"; Format("2024-03-05", "\d d"); "|"; Format("2024-03-05", "yyyy"";""mm")
    Debug.Print FormatDateTime("2024-03-05 14:07:09", 2); "|"; FormatDateTime("2024-03-05 14:07:09", 3); "|"; FormatDateTime("2024-03-05 14:07:09", 9)
    Debug.Print Format("2024-03-05", "Medium Date"); "|"; Format("2024-03-05", "short date"); "|"; Format("14:07:09", "LONG TIME")
End Sub
