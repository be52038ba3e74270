VERSION 5.00
Begin VB.Form Form1
   Caption = "F1"
   ClientHeight = 3000
   ClientWidth = 4000
   Begin VB.PictureBox Picture1
      Height = 1000
      Left = 100
      Top = 100
      Width = 1000
   End
   Begin VB.TextBox Text1
      Height = 300
      Left = 100
      Top = 1200
      Width = 1000
   End
End
Attribute VB_Name = "Form1"
Private Sub Form_Load()
    Dim s As String * 10: s = "ab"
End Sub
