VERSION 5.00
Begin VB.Form frmMeasures 
   BorderStyle     =   1  'Fixed Single
   Caption         =   "Maﬂe"
   ClientHeight    =   3015
   ClientLeft      =   45
   ClientTop       =   435
   ClientWidth     =   4455
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
   ScaleHeight     =   3015
   ScaleWidth      =   4455
   StartUpPosition =   2  'CenterScreen
   Begin VB.CommandButton cmdSwap 
      Caption         =   "<->"
      Height          =   375
      Left            =   1920
      TabIndex        =   12
      Top             =   1080
      Width           =   495
   End
   Begin VB.Frame fraTo 
      Caption         =   "To"
      Height          =   1455
      Left            =   2520
      TabIndex        =   6
      Top             =   600
      Width           =   1815
      Begin VB.OptionButton optTo 
         Caption         =   "Metres"
         Height          =   255
         Left            =   120
         Index           =   0
         TabIndex        =   7
         Top             =   240
         Width           =   1575
      End
      Begin VB.OptionButton optTo 
         Caption         =   "Feet"
         Height          =   255
         Left            =   120
         Index           =   1
         TabIndex        =   8
         Top             =   540
         Width           =   1575
      End
      Begin VB.OptionButton optTo 
         Caption         =   "Inches"
         Height          =   255
         Left            =   120
         Index           =   2
         TabIndex        =   9
         Top             =   840
         Width           =   1575
      End
      Begin VB.OptionButton optTo 
         Caption         =   "Kilometres"
         Height          =   255
         Left            =   120
         Index           =   3
         TabIndex        =   10
         Top             =   1140
         Width           =   1575
      End
   End
   Begin VB.Frame fraFrom 
      Caption         =   "From"
      Height          =   1455
      Left            =   120
      TabIndex        =   1
      Top             =   600
      Width           =   1815
      Begin VB.OptionButton optFrom 
         Caption         =   "Metres"
         Height          =   255
         Left            =   120
         Index           =   0
         TabIndex        =   2
         Top             =   240
         Width           =   1575
      End
      Begin VB.OptionButton optFrom 
         Caption         =   "Feet"
         Height          =   255
         Left            =   120
         Index           =   1
         TabIndex        =   3
         Top             =   540
         Width           =   1575
      End
      Begin VB.OptionButton optFrom 
         Caption         =   "Inches"
         Height          =   255
         Left            =   120
         Index           =   2
         TabIndex        =   4
         Top             =   840
         Width           =   1575
      End
      Begin VB.OptionButton optFrom 
         Caption         =   "Kilometres"
         Height          =   255
         Left            =   120
         Index           =   3
         TabIndex        =   5
         Top             =   1140
         Width           =   1575
      End
   End
   Begin VB.Frame fraOptions 
      Caption         =   "Options"
      Height          =   735
      Left            =   120
      TabIndex        =   13
      Top             =   2160
      Width           =   4215
      Begin VB.CheckBox chkPrecise 
         Caption         =   "5 places"
         Height          =   255
         Left            =   2160
         TabIndex        =   15
         Top             =   300
         Width           =   1815
      End
      Begin VB.CheckBox chkRound 
         Caption         =   "Round"
         Height          =   255
         Left            =   120
         TabIndex        =   14
         Top             =   300
         Width           =   1815
      End
   End
   Begin VB.TextBox txtValue 
      Alignment       =   1  'Right Justify
      Height          =   315
      Left            =   120
      TabIndex        =   0
      Top             =   120
      Width           =   1815
   End
   Begin VB.Label lblResult 
      Caption         =   "="
      Height          =   255
      Left            =   2160
      TabIndex        =   11
      Top             =   180
      Width           =   2175
   End
End
Attribute VB_Name = "frmMeasures"
Attribute VB_GlobalNameSpace = False
Attribute VB_Creatable = False
Attribute VB_PredeclaredId = True
Attribute VB_Exposed = False
Option Explicit

Private Const FEET_PER_METRE As Double = 3.28084
Private mUpdating As Boolean

Private Sub Form_Load()
    optFrom(0).Value = True
    optTo(1).Value = True
    chkRound.Value = vbChecked
    txtValue.Text = "1"
    Recalc
End Sub

Private Function UnitFactor(ByVal Index As Integer) As Double
    Select Case Index
    Case 0: UnitFactor = 1               ' metres
    Case 1: UnitFactor = 1 / FEET_PER_METRE
    Case 2: UnitFactor = 0.0254          ' inches
    Case 3: UnitFactor = 1000            ' kilometres
    Case Else: UnitFactor = 1
    End Select
End Function

Private Function Selected(opts As Object) As Integer
    Dim o As OptionButton
    Selected = -1
    For Each o In opts
        If o.Value Then Selected = o.Index
    Next
End Function

Private Sub Recalc()
    Dim v As Double, r As Double, places As Integer
    If mUpdating Then Exit Sub
    If Not IsNumeric(txtValue.Text) Then
        lblResult.Caption = "?"
        Exit Sub
    End If
    v = CDbl(txtValue.Text)
    r = v * UnitFactor(Selected(optFrom)) / UnitFactor(Selected(optTo))
    If chkRound.Value = vbChecked Then
        places = 2
        If chkPrecise.Value = vbChecked Then places = 5
        r = Round(r, places)
    End If
    lblResult.Caption = CStr(r) & " " & optTo(Selected(optTo)).Caption
    fraTo.Caption = "To (" & optTo(Selected(optTo)).Caption & ")"
End Sub

Private Sub optFrom_Click(Index As Integer)
    Recalc
End Sub

Private Sub optTo_Click(Index As Integer)
    Recalc
End Sub

Private Sub chkRound_Click()
    chkPrecise.Enabled = (chkRound.Value = vbChecked)
    Recalc
End Sub

Private Sub chkPrecise_Click()
    Recalc
End Sub

Private Sub txtValue_Change()
    Recalc
End Sub

Private Sub cmdSwap_Click()
    Dim a As Integer, b As Integer
    a = Selected(optFrom)
    b = Selected(optTo)
    mUpdating = True
    optFrom(b).Value = True
    optTo(a).Value = True
    mUpdating = False
    Recalc
End Sub
