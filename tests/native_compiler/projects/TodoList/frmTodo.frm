VERSION 5.00
Begin VB.Form frmTodo 
   BorderStyle     =   1  'Fixed Single
   Caption         =   "To do"
   ClientHeight    =   3225
   ClientLeft      =   45
   ClientTop       =   435
   ClientWidth     =   5295
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
   ScaleHeight     =   3225
   ScaleWidth      =   5295
   StartUpPosition =   2  'CenterScreen
   Begin VB.CommandButton cmdClear 
      Caption         =   "C&lear"
      Height          =   375
      Left            =   3960
      TabIndex        =   6
      Top             =   2280
      Width           =   1215
   End
   Begin VB.CommandButton cmdHigh 
      Caption         =   "&High..."
      Height          =   375
      Left            =   3960
      TabIndex        =   5
      Top             =   1800
      Width           =   1215
   End
   Begin VB.CommandButton cmdRemove 
      Caption         =   "&Remove"
      Height          =   375
      Left            =   3960
      TabIndex        =   4
      Top             =   1320
      Width           =   1215
   End
   Begin VB.CommandButton cmdAdd 
      Caption         =   "&Add"
      Height          =   375
      Left            =   3960
      TabIndex        =   2
      Top             =   120
      Width           =   1215
   End
   Begin VB.ComboBox cboPriority 
      Style           =   2  'Dropdown List
      Height          =   315
      Left            =   2640
      TabIndex        =   1
      Top             =   120
      Width           =   1215
   End
   Begin VB.TextBox txtTask 
      Height          =   315
      Left            =   120
      TabIndex        =   0
      Top             =   120
      Width           =   2415
   End
   Begin VB.ListBox lstTasks 
      Sorted          =   -1  'True
      Height          =   2205
      Left            =   120
      TabIndex        =   3
      Top             =   600
      Width           =   3735
   End
   Begin VB.Label lblCount 
      Caption         =   "0 task(s)"
      Height          =   255
      Left            =   120
      TabIndex        =   7
      Top             =   2880
      Width           =   3735
   End
End
Attribute VB_Name = "frmTodo"
Attribute VB_GlobalNameSpace = False
Attribute VB_Creatable = False
Attribute VB_PredeclaredId = True
Attribute VB_Exposed = False
Option Explicit

Private mNextId As Long

Private Sub Form_Load()
    cboPriority.AddItem "Low"
    cboPriority.AddItem "Normal"
    cboPriority.AddItem "High"
    cboPriority.ListIndex = 1
    mNextId = 1
    AddTask "Buy milk", 0
    AddTask "Call Anna", 2
    AddTask "Write report", 1
    UpdateCount
End Sub

Private Sub AddTask(ByVal sText As String, ByVal nPriority As Integer)
    lstTasks.AddItem sText & " [" & cboPriority.List(nPriority) & "]"
    lstTasks.ItemData(lstTasks.NewIndex) = mNextId * 10 + nPriority
    mNextId = mNextId + 1
End Sub

Private Sub UpdateCount()
    lblCount.Caption = lstTasks.ListCount & " task(s)"
    cmdRemove.Enabled = (lstTasks.ListIndex >= 0)
    Debug.Print lblCount.Caption & " " & lstTasks.ListIndex
End Sub

Private Sub cmdAdd_Click()
    If Trim$(txtTask.Text) = "" Then Exit Sub
    AddTask Trim$(txtTask.Text), cboPriority.ListIndex
    txtTask.Text = ""
    UpdateCount
End Sub

Private Sub cmdRemove_Click()
    If lstTasks.ListIndex >= 0 Then lstTasks.RemoveItem lstTasks.ListIndex
    UpdateCount
End Sub

Private Sub cmdHigh_Click()
    Dim i As Integer, sList As String
    For i = 0 To lstTasks.ListCount - 1
        If lstTasks.ItemData(i) Mod 10 = 2 Then sList = sList & lstTasks.List(i) & vbCrLf
    Next i
    If sList = "" Then sList = "(none)"
    MsgBox sList, vbInformation, "High priority"
End Sub

Private Sub cmdClear_Click()
    If MsgBox("Remove all tasks?", vbYesNo + vbQuestion, "Tasks") = vbYes Then
        lstTasks.Clear
        UpdateCount
    End If
End Sub

Private Sub lstTasks_Click()
    UpdateCount
End Sub

Private Sub lstTasks_DblClick()
    txtTask.Text = lstTasks.Text
End Sub

Private Sub txtTask_KeyPress(KeyAscii As Integer)
    If KeyAscii = vbKeyReturn Then
        KeyAscii = 0
        cmdAdd_Click
    End If
End Sub
