Option Explicit
Sub Main()
  Debug.Print vbWindowBackground, vbButtonFace, Hex(vbHighlight), vbInfoBackground
End Sub
