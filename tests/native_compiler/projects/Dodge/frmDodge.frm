VERSION 5.00
Begin VB.Form frmDodge 
   BorderStyle     =   1  'Fixed Single
   Caption         =   "Dodge"
   ClientHeight    =   4920
   ClientLeft      =   45
   ClientTop       =   435
   ClientWidth     =   6000
   KeyPreview      =   -1  'True
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
   ScaleHeight     =   4920
   ScaleWidth      =   6000
   StartUpPosition =   2  'CenterScreen
   Begin VB.Timer tmrTick 
      Enabled         =   0   'False
      Interval        =   50
      Left            =   120
      Top             =   120
   End
   Begin VB.Shape shpShip 
      FillStyle       =   0  'Solid
      Height          =   255
      Left            =   2640
      Top             =   4200
      Width           =   400
   End
   Begin VB.Label lblStatus 
      Caption         =   "Ready"
      Height          =   255
      Left            =   120
      TabIndex        =   0
      Top             =   4560
      Width           =   5775
   End
End
Attribute VB_Name = "frmDodge"
Attribute VB_GlobalNameSpace = False
Attribute VB_Creatable = False
Attribute VB_PredeclaredId = True
Attribute VB_Exposed = False
Option Explicit

Private Enum GameState
    gsReady = 0
    gsRunning
    gsOver
End Enum

Private Type Rock
    X As Single
    Y As Single
    Speed As Single
    Alive As Boolean
End Type

Private Const MAX_ROCKS As Integer = 8
Private Const SHIP_W As Long = 400

Private Rocks(1 To MAX_ROCKS) As Rock
Private State As GameState
Private ShipX As Single
Private Score As Long
Private Lives As Integer

Private Sub Form_Load()
    Randomize
    Me.KeyPreview = True
    NewGame
End Sub

Private Sub NewGame()
    Dim i As Integer
    For i = 1 To MAX_ROCKS
        Rocks(i).Alive = False
    Next
    ShipX = Me.ScaleWidth / 2
    Score = 0
    Lives = 3
    State = gsReady
    lblStatus.Caption = "Press SPACE to start"
End Sub

Private Sub SpawnRock()
    Dim i As Integer
    For i = LBound(Rocks) To UBound(Rocks)
        If Not Rocks(i).Alive Then
            With Rocks(i)
                .X = Rnd * (Me.ScaleWidth - 200)
                .Y = 0
                .Speed = 60 + Int(Rnd * 120)
                .Alive = True
            End With
            Exit Sub
        End If
    Next
End Sub

Private Sub tmrTick_Timer()
    Dim i As Integer
    If State <> gsRunning Then Exit Sub
    If Rnd < 0.3 Then SpawnRock
    For i = 1 To MAX_ROCKS
        If Rocks(i).Alive Then
            Rocks(i).Y = Rocks(i).Y + Rocks(i).Speed
            If Rocks(i).Y > shpShip.Top And Abs(Rocks(i).X - ShipX) < SHIP_W Then
                Rocks(i).Alive = False
                Lives = Lives - 1
                If Lives = 0 Then
                    State = gsOver
                    tmrTick.Enabled = False
                    lblStatus.Caption = "Game over - score " & Score
                    Exit Sub
                End If
            ElseIf Rocks(i).Y > Me.ScaleHeight Then
                Rocks(i).Alive = False
                Score = Score + 10
            End If
        End If
    Next
    lblStatus.Caption = "Score " & Score & "   Lives " & String$(Lives, "*")
    DrawField
End Sub

Private Sub DrawField()
    Dim i As Integer
    Me.Cls
    For i = 1 To MAX_ROCKS
        If Rocks(i).Alive Then Me.Circle (Rocks(i).X, Rocks(i).Y), 100
    Next
    shpShip.Left = ShipX - SHIP_W / 2
End Sub

Private Sub Form_KeyDown(KeyCode As Integer, Shift As Integer)
    Select Case KeyCode
    Case vbKeyLeft
        If ShipX > SHIP_W Then ShipX = ShipX - 150
    Case vbKeyRight
        If ShipX < Me.ScaleWidth - SHIP_W Then ShipX = ShipX + 150
    Case vbKeySpace
        If State <> gsRunning Then
            If State = gsOver Then NewGame
            State = gsRunning
            tmrTick.Enabled = True
        End If
    Case vbKeyEscape
        Unload Me
    End Select
    DrawField
End Sub
