' SendKeys strings: valid ones send nothing without a window; invalid
' ones fail with error 5 in both engines.
Sub Try(ByVal keys As String)
  On Error Resume Next
  SendKeys keys
  Debug.Print keys; " -> "; Err.Number
End Sub

Sub Main()
  Try "abc{ENTER}+(xy){LEFT 3}{{}~"
  Try "{}}{+}{^}{%}{~}{(}{)} {F12}^{HOME}%{F4}"
  Try "{a 10}{BS 2}"
  Try ""
  Try "{BOGUS}"
  Try "(ab"
  Try "ab)"
  Try "{a 5000}"
  Try "{TAB"
  Try "+"
  Try "}"
  Try "{TAB x}"
End Sub
