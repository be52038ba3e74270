VERSION 5.00
Begin VB.Form frmBoard 
   BorderStyle     =   1  'Fixed Single
   Caption         =   "Tic-Tac-Toe"
   ClientHeight    =   2880
   ClientLeft      =   45
   ClientTop       =   435
   ClientWidth     =   2400
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
   ScaleHeight     =   2880
   ScaleWidth      =   2400
   StartUpPosition =   2  'CenterScreen
   Begin VB.CommandButton cmdCell 
      Caption         =   ""
      Height          =   615
      Left            =   120
      TabIndex        =   0
      Top             =   120
      Width           =   615
      Index           =   0
   End
   Begin VB.CommandButton cmdCell 
      Caption         =   ""
      Height          =   615
      Left            =   840
      TabIndex        =   0
      Top             =   120
      Width           =   615
      Index           =   1
   End
   Begin VB.CommandButton cmdCell 
      Caption         =   ""
      Height          =   615
      Left            =   1560
      TabIndex        =   0
      Top             =   120
      Width           =   615
      Index           =   2
   End
   Begin VB.CommandButton cmdCell 
      Caption         =   ""
      Height          =   615
      Left            =   120
      TabIndex        =   0
      Top             =   840
      Width           =   615
      Index           =   3
   End
   Begin VB.CommandButton cmdCell 
      Caption         =   ""
      Height          =   615
      Left            =   840
      TabIndex        =   0
      Top             =   840
      Width           =   615
      Index           =   4
   End
   Begin VB.CommandButton cmdCell 
      Caption         =   ""
      Height          =   615
      Left            =   1560
      TabIndex        =   0
      Top             =   840
      Width           =   615
      Index           =   5
   End
   Begin VB.CommandButton cmdCell 
      Caption         =   ""
      Height          =   615
      Left            =   120
      TabIndex        =   0
      Top             =   1560
      Width           =   615
      Index           =   6
   End
   Begin VB.CommandButton cmdCell 
      Caption         =   ""
      Height          =   615
      Left            =   840
      TabIndex        =   0
      Top             =   1560
      Width           =   615
      Index           =   7
   End
   Begin VB.CommandButton cmdCell 
      Caption         =   ""
      Height          =   615
      Left            =   1560
      TabIndex        =   0
      Top             =   1560
      Width           =   615
      Index           =   8
   End
   Begin VB.Label lblTurn 
      Caption         =   "X to move"
      Height          =   255
      Left            =   120
      TabIndex        =   0
      Top             =   2400
      Width           =   2175
   End
   Begin VB.Menu mnuGame 
      Caption         =   "&Game"
      Begin VB.Menu mnuGameNew 
         Caption         =   "&New Game"
      End
      Begin VB.Menu mnuGameExit 
         Caption         =   "E&xit"
      End
   End
End
Attribute VB_Name = "frmBoard"
Attribute VB_GlobalNameSpace = False
Attribute VB_Creatable = False
Attribute VB_PredeclaredId = True
Attribute VB_Exposed = False
Option Explicit

Private mTurn As String
Private mMoves As Integer

Private Sub Form_Load()
    NewGame
End Sub

Private Sub NewGame()
    Dim i As Integer
    For i = 0 To cmdCell.Count - 1
        cmdCell(i).Caption = ""
        cmdCell(i).Enabled = True
    Next i
    mTurn = "X"
    mMoves = 0
    lblTurn.Caption = mTurn & " to move"
End Sub

Private Function Line3(ByVal a As Integer, ByVal b As Integer, ByVal c As Integer) As Boolean
    Line3 = cmdCell(a).Caption <> "" And cmdCell(a).Caption = cmdCell(b).Caption And cmdCell(b).Caption = cmdCell(c).Caption
End Function

Private Function Winner() As Boolean
    Dim i As Integer
    For i = 0 To 2
        If Line3(i * 3, i * 3 + 1, i * 3 + 2) Or Line3(i, i + 3, i + 6) Then Winner = True
    Next i
    If Line3(0, 4, 8) Or Line3(2, 4, 6) Then Winner = True
End Function

Private Sub cmdCell_Click(Index As Integer)
    If cmdCell(Index).Caption <> "" Then Exit Sub
    cmdCell(Index).Caption = mTurn
    mMoves = mMoves + 1
    If Winner() Then
        MsgBox mTurn & " wins!", vbInformation, "Tic-Tac-Toe"
        NewGame
    ElseIf mMoves = 9 Then
        MsgBox "Draw.", vbInformation, "Tic-Tac-Toe"
        NewGame
    Else
        If mTurn = "X" Then mTurn = "O" Else mTurn = "X"
        lblTurn.Caption = mTurn & " to move"
    End If
End Sub

Private Sub mnuGameNew_Click()
    NewGame
End Sub

Private Sub mnuGameExit_Click()
    Unload Me
End Sub
