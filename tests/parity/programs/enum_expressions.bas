Enum ParserErrors
    PERR_FIRST = vbObjectError + 513
    PERR_SECOND
    PERR_HEX = &H10
    PERR_NEG = -3
    PERR_CALC = (PERR_HEX * 2) + 1
    PERR_NEXT
End Enum

Private Enum Flags
    FlagNone = 0
    FlagA = 2 ^ 0
    FlagB = 2 ^ 1
    FlagC = 2 ^ 2
    FlagAB = FlagA + FlagB
    FlagHalf = 7 \ 2
End Enum

Sub Main()
    Debug.Print PERR_FIRST, PERR_SECOND, PERR_HEX, PERR_NEG
    Debug.Print PERR_CALC, PERR_NEXT, PERR_FIRST - vbObjectError
    Debug.Print FlagNone; FlagA; FlagB; FlagC; FlagAB; FlagHalf
    Dim f As Flags
    f = FlagA + FlagC
    Debug.Print f, f \ FlagC Mod 2, f \ FlagB Mod 2
End Sub
