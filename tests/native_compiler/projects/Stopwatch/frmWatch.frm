VERSION 5.00
Begin VB.Form frmWatch 
   Caption         =   "Stopwatch"
   ClientHeight    =   3135
   ClientLeft      =   60
   ClientTop       =   345
   ClientWidth     =   4695
   LinkTopic       =   "Form1"
   ScaleHeight     =   3135
   ScaleWidth      =   4695
   StartUpPosition =   3  'Windows Default
   Begin VB.Timer tmrTick 
      Enabled         =   0   'False
      Interval        =   100
      Height          =   420
      Left            =   4200
      Top             =   120
      Width           =   420
   End
   Begin VB.Label lblTime 
      Caption         =   "0.0"
      Height          =   495
      Left            =   120
      Top             =   120
      Width           =   2895
   End
   Begin VB.CommandButton cmdStart 
      Caption         =   "&Start"
      Height          =   375
      Left            =   120
      TabIndex        =   0
      Top             =   720
      Width           =   1215
   End
   Begin VB.CommandButton cmdLap 
      Caption         =   "&Lap"
      Enabled         =   0   'False
      Height          =   375
      Left            =   1440
      TabIndex        =   1
      Top             =   720
      Width           =   1215
   End
   Begin VB.CommandButton cmdReset 
      Caption         =   "&Reset"
      Height          =   375
      Left            =   2760
      TabIndex        =   2
      Top             =   720
      Width           =   1215
   End
   Begin VB.Label lblLap 
      Caption         =   "Laps:"
      Height          =   255
      Index           =   0
      Left            =   120
      Top             =   1200
      Width           =   2895
   End
End
Attribute VB_Name = "frmWatch"
Attribute VB_GlobalNameSpace = False
Attribute VB_Creatable = False
Attribute VB_PredeclaredId = True
Attribute VB_Exposed = False
Option Explicit

Private mTenths As Long
Private mLaps As Integer

Private Function Clock(ByVal tenths As Long) As String
    Clock = Format$(tenths \ 600, "00") & ":" & Format$((tenths \ 10) Mod 60, "00") & "." & (tenths Mod 10)
End Function

Private Sub SetRunning(ByVal running As Boolean)
    tmrTick.Enabled = running
    cmdLap.Enabled = running
    cmdReset.Enabled = Not running
    cmdStart.Caption = IIf(running, "&Stop", "&Start")
End Sub

Private Sub AddLap()
    mLaps = mLaps + 1
    Load lblLap(mLaps)
    With lblLap(mLaps)
        .Top = lblLap(mLaps - 1).Top + lblLap(0).Height
        .Caption = mLaps & ": " & Clock(mTenths)
        .Visible = True
    End With
    Debug.Print "lap " & lblLap(mLaps).Caption & " of " & lblLap.Count
End Sub

Private Sub cmdLap_Click()
    AddLap
End Sub

Private Sub cmdReset_Click()
    Dim i As Integer
    For i = lblLap.UBound To 1 Step -1
        Unload lblLap(i)
    Next
    mLaps = 0
    mTenths = 0
    lblTime.Caption = Clock(0)
    Debug.Print "reset " & lblLap.Count
End Sub

Private Sub cmdStart_Click()
    SetRunning Not tmrTick.Enabled
End Sub

Private Sub Form_Load()
    SetRunning False
    lblTime.Caption = Clock(0)
End Sub

Private Sub tmrTick_Timer()
    mTenths = mTenths + 1
    lblTime.Caption = Clock(mTenths)
    If mTenths = 3 Then
        AddLap
    ElseIf mTenths = 5 Then
        AddLap
        SetRunning False
        Debug.Print "stopped at " & lblTime.Caption & " reset " & cmdReset.Enabled
    End If
End Sub
