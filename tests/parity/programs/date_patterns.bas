Sub Main()
    Dim d
    d = "2024-03-05 14:07:09"
    ' Minutes after an hour or before seconds, months elsewhere.
    Debug.Print Format(d, "h:m"); "|"; Format(d, "m:s"); "|"; Format(d, "m/d"); "|"; Format(d, "hh mm"); "|"; Format(d, "hh-mm mm")
    Debug.Print Format(d, "hh\h mm"); "|"; Format(d, "hh""x""mm"); "|"; Format(d, "mmm ss"); "|"; Format(d, "h:nn:ss a/p"); "|"; Format(d, "h AMPM")
    Debug.Print Format(d, "hh:mm AM/PM"); "|"; Format(d, "hh:mm am/pm"); "|"; Format(d, "HH:MM"); "|"; Format(d, "A/P h")
    ' Runs of letters: names, short and long dates, the general form.
    Debug.Print Format(d, "ddd dddd"); "|"; Format(d, "ddddd"); "|"; Format(d, "dddddd"); "|"; Format(d, "c"); "|"; Format(d, "ttttt")
    Debug.Print Format(d, "y yy yyyy"); "|"; Format(d, "w ww q"); "|"; Format(d, "mmmm mmmmm"); "|"; Format(d, "ttt"); "|"; Format(d, "nnn sss")
    Debug.Print Format("2024-12-31 00:00:01", "d/m/yy h:n:s AM/PM y"); "|"; Format("2024-01-01 12:30:00", "ww hh:nn a/p")
    Debug.Print Format(d, "dd\"); "|"; Format(d, "yyyy ""unclosed")
End Sub
