VERSION 5.00
Begin VB.Form frmCalc 
   BorderStyle     =   1  'Fixed Single
   Caption         =   "Calculator"
   ClientHeight    =   3300
   ClientLeft      =   45
   ClientTop       =   435
   ClientWidth     =   2760
   BeginProperty Font 
      Name            =   "Tahoma"
      Size            =   8.25
      Charset         =   0
      Weight          =   400
      Underline       =   0   'False
      Italic          =   0   'False
      Strikethrough   =   0   'False
   EndProperty
   LinkTopic       =   "Form1"
   MaxButton       =   0   'False
   ScaleHeight     =   3300
   ScaleWidth      =   2760
   StartUpPosition =   2  'CenterScreen
   KeyPreview      =   -1  'True
   Begin VB.Label lblDisplay 
      Alignment       =   1  'Right Justify
      BorderStyle     =   1  'Fixed Single
      Caption         =   "0"
      Height          =   495
      Left            =   120
      TabIndex        =   0
      Top             =   120
      Width           =   2415
   End
   Begin VB.CommandButton cmdDigit 
      Caption         =   "0"
      Height          =   495
      Left            =   720
      TabIndex        =   0
      Top             =   2640
      Width           =   495
      Index           =   0
   End
   Begin VB.CommandButton cmdDigit 
      Caption         =   "1"
      Height          =   495
      Left            =   720
      TabIndex        =   0
      Top             =   2040
      Width           =   495
      Index           =   1
   End
   Begin VB.CommandButton cmdDigit 
      Caption         =   "2"
      Height          =   495
      Left            =   1320
      TabIndex        =   0
      Top             =   2040
      Width           =   495
      Index           =   2
   End
   Begin VB.CommandButton cmdDigit 
      Caption         =   "3"
      Height          =   495
      Left            =   120
      TabIndex        =   0
      Top             =   2040
      Width           =   495
      Index           =   3
   End
   Begin VB.CommandButton cmdDigit 
      Caption         =   "4"
      Height          =   495
      Left            =   720
      TabIndex        =   0
      Top             =   1440
      Width           =   495
      Index           =   4
   End
   Begin VB.CommandButton cmdDigit 
      Caption         =   "5"
      Height          =   495
      Left            =   1320
      TabIndex        =   0
      Top             =   1440
      Width           =   495
      Index           =   5
   End
   Begin VB.CommandButton cmdDigit 
      Caption         =   "6"
      Height          =   495
      Left            =   120
      TabIndex        =   0
      Top             =   1440
      Width           =   495
      Index           =   6
   End
   Begin VB.CommandButton cmdDigit 
      Caption         =   "7"
      Height          =   495
      Left            =   720
      TabIndex        =   0
      Top             =   840
      Width           =   495
      Index           =   7
   End
   Begin VB.CommandButton cmdDigit 
      Caption         =   "8"
      Height          =   495
      Left            =   1320
      TabIndex        =   0
      Top             =   840
      Width           =   495
      Index           =   8
   End
   Begin VB.CommandButton cmdDigit 
      Caption         =   "9"
      Height          =   495
      Left            =   120
      TabIndex        =   0
      Top             =   840
      Width           =   495
      Index           =   9
   End
   Begin VB.CommandButton cmdOp 
      Caption         =   "+"
      Height          =   495
      Left            =   2040
      TabIndex        =   0
      Top             =   840
      Width           =   495
      Index           =   0
   End
   Begin VB.CommandButton cmdOp 
      Caption         =   "-"
      Height          =   495
      Left            =   2040
      TabIndex        =   0
      Top             =   1440
      Width           =   495
      Index           =   1
   End
   Begin VB.CommandButton cmdOp 
      Caption         =   "*"
      Height          =   495
      Left            =   2040
      TabIndex        =   0
      Top             =   2040
      Width           =   495
      Index           =   2
   End
   Begin VB.CommandButton cmdOp 
      Caption         =   "/"
      Height          =   495
      Left            =   2040
      TabIndex        =   0
      Top             =   2640
      Width           =   495
      Index           =   3
   End
   Begin VB.CommandButton cmdEquals 
      Caption         =   "="
      Height          =   495
      Left            =   1320
      TabIndex        =   0
      Top             =   2640
      Width           =   495
   End
   Begin VB.CommandButton cmdClear 
      Caption         =   "C"
      Height          =   495
      Left            =   120
      TabIndex        =   0
      Top             =   2640
      Width           =   495
   End
End
Attribute VB_Name = "frmCalc"
Attribute VB_GlobalNameSpace = False
Attribute VB_Creatable = False
Attribute VB_PredeclaredId = True
Attribute VB_Exposed = False
Option Explicit

Private mAccumulator As Double
Private mPending As String
Private mNewEntry As Boolean

Private Sub Form_Load()
    mNewEntry = True
    mPending = ""
End Sub

Private Sub cmdDigit_Click(Index As Integer)
    If mNewEntry Or lblDisplay.Caption = "0" Then
        lblDisplay.Caption = cmdDigit(Index).Caption
        mNewEntry = False
    Else
        lblDisplay.Caption = lblDisplay.Caption & cmdDigit(Index).Caption
    End If
End Sub

Private Sub cmdOp_Click(Index As Integer)
    Evaluate
    mPending = cmdOp(Index).Caption
    mNewEntry = True
End Sub

Private Sub cmdEquals_Click()
    Evaluate
    mPending = ""
    mNewEntry = True
End Sub

Private Sub cmdClear_Click()
    mAccumulator = 0
    mPending = ""
    lblDisplay.Caption = "0"
    mNewEntry = True
End Sub

Private Sub Evaluate()
    Dim v As Double
    v = Val(lblDisplay.Caption)
    Select Case mPending
        Case "+": mAccumulator = mAccumulator + v
        Case "-": mAccumulator = mAccumulator - v
        Case "*": mAccumulator = mAccumulator * v
        Case "/"
            If v = 0 Then
                MsgBox "Cannot divide by zero", vbExclamation, "Calculator"
                Exit Sub
            End If
            mAccumulator = mAccumulator / v
        Case Else: mAccumulator = v
    End Select
    lblDisplay.Caption = CStr(mAccumulator)
End Sub

Private Sub Form_KeyPress(KeyAscii As Integer)
    Dim i As Integer
    Select Case KeyAscii
        Case 48 To 57
            cmdDigit_Click KeyAscii - 48
        Case 43, 45, 42, 47
            For i = cmdOp.LBound To cmdOp.UBound
                If cmdOp(i).Caption = Chr$(KeyAscii) Then cmdOp_Click i
            Next i
        Case 13
            cmdEquals_Click
    End Select
    KeyAscii = 0
End Sub
