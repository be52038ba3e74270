VERSION 5.00
Begin VB.Form frmKeypad 
   Caption         =   "Keypad"
   ClientHeight    =   3735
   ClientLeft      =   60
   ClientTop       =   345
   ClientWidth     =   2775
   LinkTopic       =   "Form1"
   ScaleHeight     =   3735
   ScaleWidth      =   2775
   StartUpPosition =   3  'Windows Default
   Begin VB.TextBox txtDisplay 
      Alignment       =   1  'Right Justify
      Locked          =   -1  'True
      Height          =   375
      Left            =   120
      TabIndex        =   0
      Top             =   120
      Width           =   2535
   End
   Begin VB.CommandButton cmdDigit 
      Caption         =   "0"
      Height          =   495
      Index           =   0
      Left            =   120
      TabIndex        =   1
      Top             =   600
      Width           =   735
   End
   Begin VB.CommandButton cmdClear 
      Caption         =   "C"
      Height          =   495
      Left            =   1920
      TabIndex        =   2
      Top             =   2760
      Width           =   735
   End
   Begin VB.CheckBox chkLock 
      Caption         =   "Lock keypad"
      Height          =   255
      Left            =   120
      TabIndex        =   3
      Top             =   3360
      Width           =   2535
   End
End
Attribute VB_Name = "frmKeypad"
Attribute VB_GlobalNameSpace = False
Attribute VB_Creatable = False
Attribute VB_PredeclaredId = True
Attribute VB_Exposed = False
Option Explicit

Private Const KEY_SIZE As Integer = 735
Private Const GAP As Integer = 60

Private Sub EnableAll(keys As Object, ByVal state As Boolean)
    Dim k As CommandButton
    For Each k In keys
        k.Enabled = state
    Next
End Sub

Private Sub Press(ByVal digit As Integer)
    If chkLock.Value = vbChecked Then Exit Sub
    If Len(txtDisplay.Text) < 8 Then txtDisplay.Text = txtDisplay.Text & CStr(digit)
End Sub

Private Sub CreateKeys()
    Dim i As Integer, row As Integer, col As Integer
    For i = 1 To 9
        Load cmdDigit(i)
        row = (9 - i) \ 3
        col = (i - 1) Mod 3
        cmdDigit(i).Move 120 + col * (KEY_SIZE + GAP), 600 + row * (KEY_SIZE + GAP), KEY_SIZE, KEY_SIZE
        cmdDigit(i).Caption = CStr(i)
        cmdDigit(i).Visible = True
    Next
    cmdDigit(0).Move 120, 600 + 3 * (KEY_SIZE + GAP), KEY_SIZE * 2 + GAP, KEY_SIZE
End Sub

Private Sub chkLock_Click()
    EnableAll cmdDigit, chkLock.Value = vbUnchecked
    Debug.Print "locked " & chkLock.Value & " " & cmdDigit(5).Enabled
End Sub

Private Sub cmdClear_Click()
    txtDisplay.Text = ""
End Sub

Private Sub cmdDigit_Click(Index As Integer)
    Press Index
End Sub

Private Sub Form_KeyPress(KeyAscii As Integer)
    Select Case KeyAscii
        Case 48 To 57
            cmdDigit_Click KeyAscii - 48
        Case 8
            If Len(txtDisplay.Text) > 0 Then txtDisplay.Text = Left$(txtDisplay.Text, Len(txtDisplay.Text) - 1)
        Case 13
            Debug.Print "entered " & txtDisplay.Text
            txtDisplay.Text = ""
    End Select
    KeyAscii = 0
End Sub

Private Sub Form_Load()
    KeyPreview = True
    CreateKeys
    Debug.Print "keys " & cmdDigit.Count & " " & cmdDigit.LBound & "-" & cmdDigit.UBound & " at " & cmdDigit(7).Top
End Sub
