Attribute VB_Name = "Module1"
Option Explicit

' Filter over split texts, StrConv's cases, the byte-named text functions
' and the $ forms of the text functions.
Sub Main()
    Dim parts As Variant, kept As Variant, s As String
    parts = Split("Apple,banana,APRICOT,cherry", ",")
    kept = Filter(parts, "ap", True, 1)
    Debug.Print UBound(kept); Join(kept, "+")
    kept = Filter(parts, "an", False)
    Debug.Print Join(kept, "+")
    kept = Filter(parts, "zz")
    Debug.Print UBound(kept)
    Debug.Print StrConv("hello big WORLD", 3); "|"; StrConv("abc", 1); "|"; StrConv("ABC", 2)
    Debug.Print AscB("A"); ChrB(66); LenB("héllo"); LenB("")
    s = Left$("hello", 2) & UCase$("x") & String$(3, "*") & Space$(2) & "|"
    Debug.Print s; Mid$("abcdef", 2, 3); Trim$("  a "); Format$(3.14159, "0.00")
    kept = Filter(s, "x")
End Sub
