VERSION 5.00
Begin VB.Form frmNotes 
   Caption         =   "Untitled"
   ClientHeight    =   3255
   ClientLeft      =   60
   ClientTop       =   345
   ClientWidth     =   4680
   LinkTopic       =   "Form1"
   ScaleHeight     =   3255
   ScaleWidth      =   4680
   StartUpPosition =   3  'Windows Default
   Begin VB.TextBox txtNote 
      MultiLine       =   -1  'True
      ScrollBars      =   2  'Vertical
      Height          =   2655
      Left            =   0
      TabIndex        =   0
      Top             =   0
      Width           =   4680
   End
   Begin VB.CommandButton cmdWrap 
      Caption         =   "&Upper"
      Height          =   375
      Left            =   120
      TabIndex        =   1
      Top             =   2760
      Width           =   1095
   End
   Begin VB.CommandButton cmdToggle 
      Caption         =   "&Hide"
      Height          =   375
      Left            =   1320
      TabIndex        =   2
      Top             =   2760
      Width           =   1095
   End
   Begin VB.Label lblInfo 
      Caption         =   "0 characters"
      Height          =   255
      Left            =   2520
      Top             =   2820
      Width           =   2055
   End
End
Attribute VB_Name = "frmNotes"
Attribute VB_GlobalNameSpace = False
Attribute VB_Creatable = False
Attribute VB_PredeclaredId = True
Attribute VB_Exposed = False
Option Explicit

Private Const MARGIN = 8
Private mKeys As Long

Private Sub LayoutControls()
    Dim top As Single
    If WindowState = vbMinimized Then Exit Sub
    top = ScaleHeight - cmdWrap.Height - MARGIN
    If top < 0 Then top = 0
    txtNote.Move 0, 0, ScaleWidth, top - MARGIN
    cmdWrap.Move MARGIN, top
    cmdToggle.Move cmdWrap.Left + cmdWrap.Width + MARGIN, top
    lblInfo.Move cmdToggle.Left + cmdToggle.Width + MARGIN, top, ScaleWidth - lblInfo.Left
End Sub

Private Sub cmdToggle_Click()
    txtNote.Visible = Not txtNote.Visible
    cmdWrap.Enabled = txtNote.Visible
    cmdToggle.Caption = IIf(txtNote.Visible, "&Hide", "&Show")
    Debug.Print "visible " & txtNote.Visible & " " & cmdWrap.Enabled
End Sub

Private Sub cmdWrap_Click()
    txtNote.Text = UCase$(txtNote.Text)
End Sub

Private Sub Form_KeyPress(KeyAscii As Integer)
    mKeys = mKeys + 1
    If KeyAscii = 27 Then
        Debug.Print "escape after " & mKeys & " keys: " & txtNote.Text
        Unload Me
    ElseIf KeyAscii >= 97 And KeyAscii <= 122 Then
        KeyAscii = KeyAscii - 32
    End If
End Sub

Private Sub Form_Load()
    KeyPreview = True
    Caption = "Notes"
    Width = 5000
    LayoutControls
    Debug.Print "width " & (txtNote.Width = ScaleWidth) & " " & (cmdWrap.Top > txtNote.Top)
End Sub

Private Sub Form_Resize()
    LayoutControls
    Debug.Print "resized " & ScaleWidth & "x" & ScaleHeight & " " & (txtNote.Width = ScaleWidth)
End Sub

Private Sub txtNote_Change()
    lblInfo.Caption = Len(txtNote.Text) & " characters"
End Sub
