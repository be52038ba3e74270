VERSION 5.00
Begin VB.Form frmEditor 
   BorderStyle     =   1  'Fixed Single
   Caption         =   "Éditeur"
   ClientHeight    =   5400
   ClientLeft      =   45
   ClientTop       =   435
   ClientWidth     =   7200
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
   ScaleHeight     =   5400
   ScaleWidth      =   7200
   StartUpPosition =   2  'CenterScreen
   Begin VB.TextBox txtBody 
      MultiLine       =   -1  'True
      ScrollBars      =   2  'Vertical
      Text            =   ""
      Height          =   5055
      Left            =   0
      TabIndex        =   0
      Top             =   0
      Width           =   7200
   End
   Begin VB.Label lblStatus 
      Caption         =   "Ready"
      Height          =   255
      Left            =   0
      TabIndex        =   0
      Top             =   5100
      Width           =   7200
   End
   Begin VB.Menu mnuFile 
      Caption         =   "&File"
      Begin VB.Menu mnuFileNew 
         Caption         =   "&New"
         Shortcut        =   ^N
      End
      Begin VB.Menu mnuFileOpen 
         Caption         =   "&Open..."
      End
      Begin VB.Menu mnuFileSave 
         Caption         =   "&Save"
         Shortcut        =   ^S
      End
      Begin VB.Menu mnuFileRecent 
         Caption         =   "&Recent Files"
         Begin VB.Menu mnuRecentItem 
            Caption         =   "(empty 0)"
            Index           =   0
         End
         Begin VB.Menu mnuRecentItem 
            Caption         =   "(empty 1)"
            Index           =   1
         End
         Begin VB.Menu mnuRecentItem 
            Caption         =   "(empty 2)"
            Index           =   2
         End
         Begin VB.Menu mnuRecentItem 
            Caption         =   "(empty 3)"
            Index           =   3
         End
      End
      Begin VB.Menu mnuFileSep 
         Caption         =   "-"
      End
      Begin VB.Menu mnuFileExit 
         Caption         =   "E&xit"
      End
   End
   Begin VB.Menu mnuEdit 
      Caption         =   "&Edit"
      Begin VB.Menu mnuEditUpper 
         Caption         =   "&Upper Case"
      End
      Begin VB.Menu mnuEditLower 
         Caption         =   "&Lower Case"
      End
      Begin VB.Menu mnuEditInsert 
         Caption         =   "&Insert"
         Begin VB.Menu mnuEditDate 
            Caption         =   "&Date"
         End
         Begin VB.Menu mnuEditTime 
            Caption         =   "&Time"
         End
      End
   End
   Begin VB.Menu mnuHelp 
      Caption         =   "&Help"
      Begin VB.Menu mnuHelpAbout 
         Caption         =   "&About..."
      End
   End
End
Attribute VB_Name = "frmEditor"
Attribute VB_GlobalNameSpace = False
Attribute VB_Creatable = False
Attribute VB_PredeclaredId = True
Attribute VB_Exposed = False
Option Explicit

Private mFileName As String
Private mDirty As Boolean
Private mRecent(3) As String

Private Sub Form_Load()
    Dim i As Integer
    For i = 0 To 3
        mRecent(i) = ""
    Next i
    UpdateTitle
End Sub

Private Sub Form_Resize()
    If Me.ScaleWidth > 0 Then txtBody.Width = Me.ScaleWidth
End Sub

Private Sub UpdateTitle()
    Dim t As String
    If mFileName = "" Then t = "Untitled" Else t = mFileName
    If mDirty Then t = t & " *"
    Me.Caption = t & " - Éditeur"
End Sub

Private Sub txtBody_Change()
    mDirty = True
    lblStatus.Caption = Len(txtBody.Text) & " characters"
End Sub

Private Sub txtBody_KeyPress(KeyAscii As Integer)
    ' Tab inserts four spaces instead of moving the focus
    If KeyAscii = 9 Then
        txtBody.SelText = Space$(4)
        KeyAscii = 0
    End If
End Sub

Private Sub txtBody_KeyDown(KeyCode As Integer, Shift As Integer)
    If KeyCode = vbKeyF5 Then mnuEditDate_Click
End Sub

Private Sub mnuFileNew_Click()
    txtBody.Text = ""
    mFileName = ""
    mDirty = False
    UpdateTitle
End Sub

Private Sub mnuFileOpen_Click()
    Dim f As Integer, lineText As String, whole As String
    Dim path As String
    path = InputBox("File to open:", "Open", mFileName)
    If path = "" Then Exit Sub
    On Error GoTo NoFile
    f = FreeFile
    Open path For Input As #f
    Do Until EOF(f)
        Line Input #f, lineText
        whole = whole & lineText & vbCrLf
    Loop
    Close #f
    txtBody.Text = whole
    mFileName = path
    mDirty = False
    AddRecent path
    UpdateTitle
    Exit Sub
NoFile:
    MsgBox "Cannot open " & path, vbExclamation
End Sub

Private Sub mnuFileSave_Click()
    Dim f As Integer
    If mFileName = "" Then mFileName = InputBox("Save as:", "Save")
    If mFileName = "" Then Exit Sub
    f = FreeFile
    Open mFileName For Output As #f
    Print #f, txtBody.Text;
    Close #f
    mDirty = False
    UpdateTitle
End Sub

Private Sub AddRecent(ByVal path As String)
    Dim i As Integer
    For i = 3 To 1 Step -1
        mRecent(i) = mRecent(i - 1)
    Next i
    mRecent(0) = path
    For i = 0 To 3
        If mRecent(i) <> "" Then mnuRecentItem(i).Caption = "&" & (i + 1) & " " & mRecent(i)
    Next i
End Sub

Private Sub mnuRecentItem_Click(Index As Integer)
    If mRecent(Index) <> "" Then lblStatus.Caption = "Recent: " & mRecent(Index)
End Sub

Private Sub mnuFileExit_Click()
    Unload Me
End Sub

Private Sub mnuEditUpper_Click()
    txtBody.Text = UCase$(txtBody.Text)
End Sub

Private Sub mnuEditLower_Click()
    txtBody.Text = LCase$(txtBody.Text)
End Sub

Private Sub mnuEditDate_Click()
    txtBody.SelText = Format$(Date, "yyyy-mm-dd")
End Sub

Private Sub mnuEditTime_Click()
    txtBody.SelText = Format$(Time, "hh:nn")
End Sub

Private Sub mnuHelpAbout_Click()
    MsgBox "Éditeur 1.0" & vbCrLf & "A small text editor.", vbInformation, "About"
End Sub

Private Sub Form_QueryUnload(Cancel As Integer, UnloadMode As Integer)
    If mDirty Then
        If MsgBox("Discard changes?", vbYesNo, "Éditeur") = vbNo Then Cancel = 1
    End If
End Sub
