VERSION 5.00
Begin VB.Form frmEntry 
   Caption         =   "Quick entry"
   ClientHeight    =   1695
   ClientLeft      =   60
   ClientTop       =   345
   ClientWidth     =   3735
   LinkTopic       =   "Form1"
   ScaleHeight     =   1695
   ScaleWidth      =   3735
   StartUpPosition =   3  'Windows Default
   Begin VB.TextBox txtCity 
      Height          =   315
      Left            =   1320
      TabIndex        =   1
      Top             =   600
      Width           =   2295
   End
   Begin VB.TextBox txtName 
      Height          =   315
      Left            =   1320
      TabIndex        =   0
      Top             =   180
      Width           =   2295
   End
   Begin VB.Label lblName 
      Caption         =   "Name:"
      Height          =   255
      Left            =   120
      TabIndex        =   2
      Top             =   240
      Width           =   1095
   End
End
Attribute VB_Name = "frmEntry"
Attribute VB_GlobalNameSpace = False
Attribute VB_Creatable = False
Attribute VB_PredeclaredId = True
Attribute VB_Exposed = False
Option Explicit

' Enter moves on to the next box, as data-entry clerks expect.
Private Sub txtName_KeyPress(KeyAscii As Integer)
    If KeyAscii = vbKeyReturn Then
        KeyAscii = 0
        SendKeys "{TAB}"
    End If
End Sub

Private Sub txtName_LostFocus()
    Debug.Print "left name"
End Sub

Private Sub txtCity_GotFocus()
    Debug.Print "city"
End Sub

Private Sub txtCity_KeyPress(KeyAscii As Integer)
    If KeyAscii = vbKeyReturn Then
        KeyAscii = 0
        Debug.Print txtName.Text & "|" & txtCity.Text
        SendKeys "+(ok)"
    ElseIf KeyAscii = Asc("K") Then
        Debug.Print "done: " & txtCity.Text
        End
    End If
End Sub
