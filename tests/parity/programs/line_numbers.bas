Sub Main()
10 Debug.Print "ten"
20 x = 1: Rem trailing: Debug.Print "hidden"
30 Debug.Print x
   GoTo 50
40 Debug.Print "skipped"
50 Debug.Print "fifty"
End Sub
