VERSION 5.00
Begin VB.Form frmSurvey 
   Caption         =   "Survey"
   ClientHeight    =   2775
   ClientLeft      =   60
   ClientTop       =   345
   ClientWidth     =   3975
   LinkTopic       =   "Form1"
   ScaleHeight     =   2775
   ScaleWidth      =   3975
   StartUpPosition =   3  'Windows Default
   Begin VB.Frame fraAge 
      Caption         =   "Age"
      Height          =   1215
      Left            =   120
      TabIndex        =   1
      Top             =   120
      Width           =   1815
      Begin VB.OptionButton optAge 
         Caption         =   "Under 18"
         Height          =   255
         Index           =   0
         Left            =   120
         TabIndex        =   10
         Top             =   240
         Width           =   1455
      End
      Begin VB.OptionButton optAge 
         Caption         =   "18 to 64"
         Height          =   255
         Index           =   1
         Left            =   120
         TabIndex        =   11
         Top             =   540
         Width           =   1455
      End
      Begin VB.OptionButton optAge 
         Caption         =   "65 or over"
         Height          =   255
         Index           =   2
         Left            =   120
         TabIndex        =   12
         Top             =   840
         Width           =   1455
      End
   End
   Begin VB.Frame fraSize 
      Caption         =   "Size"
      Height          =   1215
      Left            =   2040
      TabIndex        =   2
      Top             =   120
      Width           =   1815
      Begin VB.OptionButton optSize 
         Caption         =   "Small"
         Height          =   255
         Index           =   0
         Left            =   120
         TabIndex        =   20
         Top             =   240
         Width           =   1455
      End
      Begin VB.OptionButton optSize 
         Caption         =   "Medium"
         Height          =   255
         Index           =   1
         Left            =   120
         TabIndex        =   21
         Top             =   540
         Width           =   1455
      End
      Begin VB.OptionButton optSize 
         Caption         =   "Large"
         Height          =   255
         Index           =   2
         Left            =   120
         TabIndex        =   22
         Top             =   840
         Width           =   1455
      End
   End
   Begin VB.CheckBox chkNews 
      Caption         =   "Newsletter"
      Height          =   255
      Left            =   120
      TabIndex        =   3
      Top             =   1440
      Width           =   1815
   End
   Begin VB.CheckBox chkOffers 
      Caption         =   "Offers"
      Height          =   255
      Left            =   2040
      TabIndex        =   4
      Top             =   1440
      Width           =   1815
   End
   Begin VB.ComboBox cboCountry 
      Style           =   2  'Dropdown List
      Height          =   315
      Left            =   120
      TabIndex        =   5
      Top             =   1800
      Width           =   3735
   End
   Begin VB.CommandButton cmdSubmit 
      Caption         =   "&Submit"
      Height          =   375
      Left            =   120
      TabIndex        =   6
      Top             =   2280
      Width           =   1815
   End
   Begin VB.CommandButton cmdReset 
      Caption         =   "&Reset"
      Height          =   375
      Left            =   2040
      TabIndex        =   7
      Top             =   2280
      Width           =   1815
   End
End
Attribute VB_Name = "frmSurvey"
Attribute VB_GlobalNameSpace = False
Attribute VB_Creatable = False
Attribute VB_PredeclaredId = True
Attribute VB_Exposed = False
Option Explicit

Private mRespondent As String

Private Sub ResetForm()
    Dim c As Control
    For Each c In Me.Controls
        If TypeOf c Is OptionButton Then
            c.Value = False
        ElseIf TypeOf c Is CheckBox Then
            c.Value = vbUnchecked
        End If
    Next
    optAge(1).Value = True
    FillCountries cboCountry
End Sub

Private Function Extras() As String
    Dim c As Control, s As String
    For Each c In Controls
        If TypeOf c Is CheckBox Then
            If c.Value = vbChecked Then s = s & " " & c.Caption
        End If
    Next
    Extras = Trim$(s)
End Function

Private Sub cmdReset_Click()
    ResetForm
    Debug.Print "reset " & Chosen(optAge) & " " & Chosen(optSize)
End Sub

Private Sub cmdSubmit_Click()
    Dim answer As VbMsgBoxResult
    If Chosen(optSize) < 0 Then
        MsgBox "Please choose a size", vbExclamation
        Debug.Print "no size"
        Exit Sub
    End If
    answer = MsgBox("Send for " & mRespondent & "?", vbYesNo + vbQuestion, "Survey")
    If answer = vbYes Then
        Debug.Print mRespondent & ": " & CaptionOf(optAge, Chosen(optAge)) & ", " & _
            CaptionOf(optSize, Chosen(optSize)) & ", " & cboCountry.Text & ", [" & Extras() & "]"
    Else
        Debug.Print "not sent"
    End If
End Sub

Private Sub Form_Load()
    mRespondent = InputBox("Your name?", "Survey", "Anonymous")
    If mRespondent = "" Then mRespondent = "Anonymous"
    ResetForm
    Caption = "Survey - " & mRespondent
End Sub

Private Sub optSize_Click(Index As Integer)
    chkOffers.Enabled = (Index <> 2)
End Sub
