' Named constants of keys, the mouse, check boxes, forms and the text
' functions have VB6's values in both engines.
Function KeyName(ByVal KeyCode As Integer) As String
    Select Case KeyCode
    Case vbKeyLeft: KeyName = "left"
    Case vbKeyReturn: KeyName = "enter"
    Case vbKeyEscape: KeyName = "escape"
    Case vbKeyA To vbKeyZ: KeyName = "letter " & Chr$(KeyCode)
    Case vbKey0 To vbKey9: KeyName = "digit " & (KeyCode - vbKey0)
    Case vbKeyF1 To vbKeyF16: KeyName = "F" & (KeyCode - vbKeyF1 + 1)
    Case Else: KeyName = "other"
    End Select
End Function

Sub Main()
    Debug.Print KeyName(37); " "; KeyName(13); " "; KeyName(27); " "; KeyName(81); " "; KeyName(55); " "; KeyName(123)
    Debug.Print vbLeftButton + vbRightButton + vbMiddleButton; vbShiftMask + vbCtrlMask + vbAltMask
    Debug.Print vbUnchecked; vbChecked; vbGrayed; vbModeless; vbModal; vbMinimized; vbMaximized
    Debug.Print vbHourglass; vbDefault; vbPixels; vbTwips; vbCenter; vbRightJustify
    Debug.Print vbTrue; vbFalse; vbUseDefault; vbKeySpace; vbKeyDelete; vbKeyNumpad5; vbKeyF16
    Debug.Print StrConv("hello world", vbProperCase); " "; StrConv("ABC", vbLowerCase)
    Debug.Print vbFormControlMenu; vbFormCode; vbDefaultButton2
End Sub
