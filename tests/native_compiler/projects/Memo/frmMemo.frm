VERSION 5.00
Begin VB.Form frmMemo 
   BorderStyle     =   1  'Fixed Single
   Caption         =   "Memo"
   ClientHeight    =   3975
   ClientLeft      =   45
   ClientTop       =   435
   ClientWidth     =   6015
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
   ScaleHeight     =   3975
   ScaleWidth      =   6015
   StartUpPosition =   2  'CenterScreen
   Begin VB.TextBox txtBody 
      MultiLine       =   -1  'True
      ScrollBars      =   2  'Vertical
      Height          =   3975
      Left            =   0
      TabIndex        =   0
      Top             =   0
      Width           =   6015
   End
   Begin VB.Menu mnuFile 
      Caption         =   "&File"
      Begin VB.Menu mnuFileNew 
         Caption         =   "&New"
         Shortcut        =   ^N
      End
      Begin VB.Menu mnuSep1 
         Caption         =   "-"
      End
      Begin VB.Menu mnuRecent 
         Caption         =   "(empty)"
         Index           =   0
      End
      Begin VB.Menu mnuSep2 
         Caption         =   "-"
      End
      Begin VB.Menu mnuFileExit 
         Caption         =   "E&xit"
      End
   End
End
Attribute VB_Name = "frmMemo"
Attribute VB_GlobalNameSpace = False
Attribute VB_Creatable = False
Attribute VB_PredeclaredId = True
Attribute VB_Exposed = False
Option Explicit

Private mFileName As String
Private mDirty As Boolean

Public Property Get FileName() As String
    FileName = mFileName
End Property

Public Property Let FileName(ByVal sName As String)
    mFileName = sName
    UpdateCaption
End Property

Private Property Get Dirty() As Boolean
    Dirty = mDirty
End Property

Private Property Let Dirty(ByVal b As Boolean)
    mDirty = b
    UpdateCaption
End Property

Private Sub UpdateCaption()
    Dim s As String
    If mFileName = "" Then s = "Untitled" Else s = mFileName
    If mDirty Then s = s & " *"
    Me.Caption = s & " - Memo"
End Sub

Private Sub Form_Load()
    FileName = ""
    Dirty = False
    AddRecent "notes.txt"
    AddRecent "todo.txt"
End Sub

Private Sub AddRecent(ByVal sName As String)
    Dim n As Integer
    n = mnuRecent.UBound + 1
    If mnuRecent(0).Caption = "(empty)" Then
        n = 0
    Else
        Load mnuRecent(n)
    End If
    mnuRecent(n).Caption = "&" & (n + 1) & " " & sName
    mnuRecent(n).Tag = sName
    mnuRecent(n).Visible = True
End Sub

Private Sub mnuRecent_Click(Index As Integer)
    FileName = mnuRecent(Index).Tag
    txtBody.Text = "(" & mnuRecent.Count & " recent) " & FileName
    Dirty = False
    Debug.Print Me.Caption & " " & mnuRecent.Count & " " & mnuRecent.UBound & " " & txtBody.Text
End Sub

Private Sub mnuFileNew_Click()
    txtBody.Text = ""
    FileName = ""
    Dirty = False
End Sub

Private Sub mnuFileExit_Click()
    Debug.Print "bye " & FileName
    Unload Me
End Sub

Private Sub txtBody_Change()
    If Not Dirty Then Dirty = True
End Sub
