Sub Main()
    Dim d
    d = DateSerial(2024, 2, 28)
    Debug.Print d
    Debug.Print DateAdd("d", 2, d)
    Debug.Print DateAdd("m", 1, "2024-01-31")
    Debug.Print DateAdd("yyyy", -1, "2024-02-29")
    Debug.Print DateAdd("h", 30, "2024-05-01 10:00:00")
    Debug.Print DateDiff("d", "2024-01-01", "2024-12-25")
    Debug.Print DateDiff("m", "1/15/2023", "2024-03-01")
    Debug.Print DateDiff("n", "10:00:00", "11:30:00")
    Debug.Print Year(d) & "-" & Month(d) & "-" & Day(d)
    Debug.Print Hour("2024-05-01 13:45:10") & ":" & Minute("1:45:10 PM") & ":" & Second("13:45:10")
    Debug.Print Weekday("2024-05-01") & " " & Weekday("2024-05-01", vbMonday)
    Debug.Print WeekdayName(1) & " " & MonthName(12) & " " & MonthName(3, True)
    Debug.Print TimeSerial(25, 61, 5) & " " & TimeValue("2024-05-01 08:09:10") & " " & DateValue("May 1, 2024 8:00 AM")
    Debug.Print CDate("3/4/99") & " " & CDate(45000) & " " & CDate(45000.5)
    Debug.Print IsDate("2024-02-30") & " " & IsDate("2024-02-29") & " " & IsDate("hello") & " " & IsDate("12:30")
    Debug.Print DatePart("q", "2024-08-15") & " " & DatePart("y", "2024-03-01") & " " & DatePart("ww", "2024-01-07")
    Debug.Print (Len(Now) = 19) & " " & Len(Date) & " " & Len(Time) & " " & (Timer >= 0)
    Debug.Print vbObjectError & " " & vbRed & " " & vbTextCompare & " " & (Pi > 3.14)
    Dim day, month
    day = 3
    month = day + 1
    Debug.Print day & " " & month
    Debug.Print Year("not a date")
End Sub
