Sub Main()
    ' Placeholders fill from the right, "!" from the left; "@" shows a blank
    ' where no character is left, "&" nothing; the first takes the overflow.
    Debug.Print "[" & Format("ab", "@@@@") & "]"; "[" & Format("ab", "&&&&") & "]"; "[" & Format("ab", "!@@@@") & "]"; "[" & Format("ab", "!&&&&") & "]"
    Debug.Print "[" & Format("abcdef", "@@") & "]"; "[" & Format("abcdef", "!@@") & "]"; "[" & Format("abcdef", "@-@") & "]"; "[" & Format("abcdef", "!@-@") & "]"
    Debug.Print "[" & Format("5551234", "(@@@) @@@-@@@@") & "]"; "[" & Format("1234", "@@@-@@") & "]"; "[" & Format("", "@@") & "]"; "[" & Format("", "!&&") & "]"
    ' Case changes of ASCII letters, with and without placeholders.
    Debug.Print Format("MiXeD éa", ">"); "|"; Format("MiXeD ÉA", "<"); "|"; Format("abc", ">@@@@"); "|"; Format("ABC", "<!@@@@"); "|"; Format("abc", "<>")
    Debug.Print Format("x", "no holders"); "|"; Format("naïve", "!@@")
    ' Placeholders take whole characters of accented, CJK and emoji text.
    Debug.Print "[" & Format("été", "@@@@@") & "]"; "[" & Format("été", "@-@@") & "]"; "[" & Format("été", "!@@@@") & "]"; "[" & Format("日本語テキスト", "@@-@@") & "]"
    Debug.Print "[" & Format("a😀b", "@ @ @") & "]"; "[" & Format("a😀b", "!@@") & "]"; "[" & Format("éa", ">@@@") & "]"; "[" & Format("😀", "&&") & "]"
End Sub
