VERSION 5.00
Begin VB.Form frmColours 
   Caption         =   "Colour picker"
   ClientHeight    =   2655
   ClientLeft      =   60
   ClientTop       =   345
   ClientWidth     =   4815
   LinkTopic       =   "Form1"
   ScaleHeight     =   2655
   ScaleWidth      =   4815
   StartUpPosition =   3  'Windows Default
   Begin VB.HScrollBar hsbRed 
      Max             =   255
      LargeChange     =   16
      Height          =   255
      Left            =   840
      TabIndex        =   0
      Top             =   120
      Width           =   2775
   End
   Begin VB.HScrollBar hsbGreen 
      Max             =   255
      LargeChange     =   16
      Height          =   255
      Left            =   840
      TabIndex        =   1
      Top             =   480
      Width           =   2775
   End
   Begin VB.HScrollBar hsbBlue 
      Max             =   255
      LargeChange     =   16
      Height          =   255
      Left            =   840
      TabIndex        =   2
      Top             =   840
      Width           =   2775
   End
   Begin VB.PictureBox picSample 
      BackColor       =   &H00000000&
      Height          =   975
      Left            =   3720
      TabIndex        =   3
      Top             =   120
      Width           =   975
   End
   Begin VB.Label lblRed 
      Caption         =   "Red"
      Height          =   255
      Left            =   120
      Top             =   120
      Width           =   615
   End
   Begin VB.Label lblGreen 
      Caption         =   "Green"
      Height          =   255
      Left            =   120
      Top             =   480
      Width           =   615
   End
   Begin VB.Label lblBlue 
      Caption         =   "Blue"
      Height          =   255
      Left            =   120
      Top             =   840
      Width           =   615
   End
   Begin VB.Label lblHex 
      Caption         =   "&H000000"
      Height          =   255
      Left            =   120
      Top             =   1260
      Width           =   2415
   End
   Begin VB.OptionButton optPreset 
      Caption         =   "Black"
      Height          =   255
      Index           =   0
      Left            =   120
      TabIndex        =   4
      Top             =   1680
      Width           =   1095
   End
   Begin VB.OptionButton optPreset 
      Caption         =   "Red"
      Height          =   255
      Index           =   1
      Left            =   1320
      TabIndex        =   5
      Top             =   1680
      Width           =   1095
   End
   Begin VB.OptionButton optPreset 
      Caption         =   "Green"
      Height          =   255
      Index           =   2
      Left            =   2520
      TabIndex        =   6
      Top             =   1680
      Width           =   1095
   End
   Begin VB.OptionButton optPreset 
      Caption         =   "Yellow"
      Height          =   255
      Index           =   3
      Left            =   3720
      TabIndex        =   7
      Top             =   1680
      Width           =   1095
   End
   Begin VB.CommandButton cmdApply 
      Caption         =   "Apply to form"
      Height          =   375
      Left            =   120
      TabIndex        =   8
      Top             =   2160
      Width           =   1455
   End
   Begin VB.CommandButton cmdInvert 
      Caption         =   "Invert"
      Height          =   375
      Left            =   1680
      TabIndex        =   9
      Top             =   2160
      Width           =   1455
   End
End
Attribute VB_Name = "frmColours"
Attribute VB_GlobalNameSpace = False
Attribute VB_Creatable = False
Attribute VB_PredeclaredId = True
Attribute VB_Exposed = False
Option Explicit

Private mBusy As Boolean

Private Function PresetColour(ByVal Index As Integer) As Long
    Select Case Index
        Case 0: PresetColour = vbBlack
        Case 1: PresetColour = vbRed
        Case 2: PresetColour = QBColor(10)
        Case Else: PresetColour = RGB(255, 255, 0)
    End Select
End Function

Private Function CurrentPreset() As Integer
    Dim o As OptionButton
    CurrentPreset = -1
    For Each o In optPreset
        If o.Value Then CurrentPreset = o.Index
    Next
End Function

Private Sub ShowColour()
    Dim c As Long
    c = RGB(hsbRed.Value, hsbGreen.Value, hsbBlue.Value)
    picSample.BackColor = c
    lblHex.Caption = "&H" & Right$("00000" & Hex$(c), 6)
    lblHex.ForeColor = IIf(c = vbRed, vbBlack, vbRed)
    Debug.Print lblHex.Caption & " preset " & CurrentPreset()
End Sub

Private Sub SetBars(ByVal c As Long)
    mBusy = True
    hsbRed.Value = c Mod 256
    hsbGreen.Value = (c \ 256) Mod 256
    hsbBlue.Value = (c \ 65536) Mod 256
    mBusy = False
    ShowColour
End Sub

Private Sub cmdApply_Click()
    Me.BackColor = picSample.BackColor
    Debug.Print "form " & Hex$(BackColor)
End Sub

Private Sub cmdInvert_Click()
    SetBars RGB(255 - hsbRed.Value, 255 - hsbGreen.Value, 255 - hsbBlue.Value)
End Sub

Private Sub Form_Load()
    optPreset(1).Value = True
End Sub

Private Sub hsbBlue_Change()
    If Not mBusy Then ShowColour
End Sub

Private Sub hsbGreen_Change()
    If Not mBusy Then ShowColour
End Sub

Private Sub hsbRed_Change()
    If Not mBusy Then ShowColour
End Sub

Private Sub optPreset_Click(Index As Integer)
    SetBars PresetColour(Index)
End Sub
