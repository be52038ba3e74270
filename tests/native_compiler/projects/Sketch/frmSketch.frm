VERSION 5.00
Begin VB.Form frmSketch 
   BorderStyle     =   1  'Fixed Single
   Caption         =   "Skizze"
   ClientHeight    =   5280
   ClientLeft      =   45
   ClientTop       =   435
   ClientWidth     =   7140
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
   ScaleHeight     =   5280
   ScaleWidth      =   7140
   StartUpPosition =   2  'CenterScreen
   Begin VB.CommandButton cmdGrid 
      Caption         =   "&Raster"
      Height          =   375
      Left            =   5880
      TabIndex        =   2
      Top             =   600
      Width           =   1095
   End
   Begin VB.CommandButton cmdClear 
      Caption         =   "&Löschen"
      Height          =   375
      Left            =   5880
      TabIndex        =   1
      Top             =   120
      Width           =   1095
   End
   Begin VB.Frame fraTool 
      Caption         =   "Werkzeug"
      Height          =   1455
      Left            =   5880
      TabIndex        =   3
      Top             =   1200
      Width           =   1095
      Begin VB.OptionButton optTool 
         Caption         =   "Stift"
         Height          =   255
         Left            =   120
         Index           =   0
         TabIndex        =   4
         Top             =   300
         Width           =   855
      End
      Begin VB.OptionButton optTool 
         Caption         =   "Kreis"
         Height          =   255
         Left            =   120
         Index           =   1
         TabIndex        =   5
         Top             =   660
         Width           =   855
      End
      Begin VB.OptionButton optTool 
         Caption         =   "Rechteck"
         Height          =   255
         Left            =   120
         Index           =   2
         TabIndex        =   6
         Top             =   1020
         Width           =   855
      End
   End
   Begin VB.PictureBox picCanvas 
      AutoRedraw      =   -1  'True
      BackColor       =   &H00FFFFFF&
      Height          =   4695
      Left            =   120
      ScaleHeight     =   4635
      ScaleWidth      =   5595
      TabIndex        =   0
      Top             =   120
      Width           =   5655
   End
   Begin VB.Label lblPos 
      Caption         =   "0, 0"
      Height          =   255
      Left            =   120
      TabIndex        =   7
      Top             =   4920
      Width           =   5655
   End
End
Attribute VB_Name = "frmSketch"
Attribute VB_GlobalNameSpace = False
Attribute VB_Creatable = False
Attribute VB_PredeclaredId = True
Attribute VB_Exposed = False
Option Explicit

Private mDrawing As Boolean
Private mLastX As Single, mLastY As Single
Private mTool As Integer
Private mColor As Long
Private mStrokes As Long

Private Sub Form_Load()
    mColor = vbBlack
    mTool = 0
    optTool(0).Value = True
    picCanvas.DrawWidth = 2
    lblPos.Caption = "Bereit"
End Sub

Private Sub cmdClear_Click()
    picCanvas.Cls
    mStrokes = 0
    lblPos.Caption = "Gelöscht"
End Sub

Private Sub cmdGrid_Click()
    Dim x As Single, y As Single
    For x = 0 To picCanvas.ScaleWidth Step 500
        picCanvas.Line (x, 0)-(x, picCanvas.ScaleHeight), RGB(200, 200, 200)
    Next x
    For y = 0 To picCanvas.ScaleHeight Step 500
        picCanvas.Line (0, y)-(picCanvas.ScaleWidth, y), RGB(200, 200, 200)
    Next y
End Sub

Private Sub optTool_Click(Index As Integer)
    mTool = Index
End Sub

Private Sub picCanvas_MouseDown(Button As Integer, Shift As Integer, X As Single, Y As Single)
    If Button = vbLeftButton Then
        mDrawing = True
        mLastX = X: mLastY = Y
        mStrokes = mStrokes + 1
        Select Case mTool
        Case 0
            picCanvas.PSet (X, Y), mColor
        Case 1
            picCanvas.Circle (X, Y), 300, mColor
        Case 2
            picCanvas.Line (X - 200, Y - 200)-(X + 200, Y + 200), mColor, B
        End Select
    ElseIf Button = vbRightButton Then
        mColor = QBColor(Int(Rnd * 16))
    End If
End Sub

Private Sub picCanvas_MouseMove(Button As Integer, Shift As Integer, X As Single, Y As Single)
    lblPos.Caption = Format(X, "0") & ", " & Format(Y, "0") & "  (" & mStrokes & ")"
    If mDrawing And mTool = 0 Then
        picCanvas.Line (mLastX, mLastY)-(X, Y), mColor
        mLastX = X
        mLastY = Y
    End If
End Sub

Private Sub picCanvas_MouseUp(Button As Integer, Shift As Integer, X As Single, Y As Single)
    mDrawing = False
End Sub
