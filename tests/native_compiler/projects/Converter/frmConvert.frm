VERSION 5.00
Begin VB.Form frmConvert 
   BorderStyle     =   1  'Fixed Single
   Caption         =   "Unit Converter"
   ClientHeight    =   2160
   ClientLeft      =   45
   ClientTop       =   435
   ClientWidth     =   4800
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
   ScaleHeight     =   2160
   ScaleWidth      =   4800
   StartUpPosition =   2  'CenterScreen
   Begin VB.TextBox txtValue 
      Text            =   "1"
      Height          =   315
      Left            =   120
      TabIndex        =   0
      Top             =   120
      Width           =   1455
   End
   Begin VB.ComboBox cboFrom 
      Style           =   2  'Dropdown List
      Height          =   315
      Left            =   1680
      TabIndex        =   0
      Top             =   120
      Width           =   1335
   End
   Begin VB.ComboBox cboTo 
      Style           =   2  'Dropdown List
      Height          =   315
      Left            =   3240
      TabIndex        =   0
      Top             =   120
      Width           =   1335
   End
   Begin VB.Label lblResult 
      Caption         =   ""
      Height          =   255
      Left            =   120
      TabIndex        =   0
      Top             =   600
      Width           =   4455
   End
   Begin VB.CommandButton cmdConvert 
      Caption         =   "&Convert"
      Height          =   375
      Left            =   2280
      TabIndex        =   0
      Top             =   1560
      Width           =   1095
   End
   Begin VB.CommandButton cmdAbout 
      Caption         =   "&About"
      Height          =   375
      Left            =   3480
      TabIndex        =   0
      Top             =   1560
      Width           =   1095
   End
End
Attribute VB_Name = "frmConvert"
Attribute VB_GlobalNameSpace = False
Attribute VB_Creatable = False
Attribute VB_PredeclaredId = True
Attribute VB_Exposed = False
Option Explicit

Private Sub Form_Load()
    Dim units As Variant, i As Integer
    units = Array("mm", "cm", "m", "km", "in", "ft", "mi")
    For i = LBound(units) To UBound(units)
        cboFrom.AddItem units(i)
        cboTo.AddItem units(i)
    Next i
    cboTo.ListIndex = 5
    cboFrom.ListIndex = 2
End Sub

Private Function Factor(ByVal unit As String) As Double
    Select Case unit
        Case "mm": Factor = 0.001
        Case "cm": Factor = 0.01
        Case "m": Factor = 1
        Case "km": Factor = 1000
        Case "in": Factor = 0.0254
        Case "ft": Factor = 0.3048
        Case "mi": Factor = 1609.344
    End Select
End Function

Private Sub cmdConvert_Click()
    Dim v As Double
    If Not IsNumeric(txtValue.Text) Then
        lblResult.Caption = "Please enter a number."
        Exit Sub
    End If
    v = CDbl(txtValue.Text) * Factor(cboFrom.Text) / Factor(cboTo.Text)
    lblResult.Caption = txtValue.Text & " " & cboFrom.Text & " = " & Format$(v, "0.####") & " " & cboTo.Text
End Sub

Private Sub txtValue_GotFocus()
    txtValue.SelStart = 0
    txtValue.SelLength = Len(txtValue.Text)
End Sub

Private Sub cboFrom_Click()
    cmdConvert_Click
End Sub

Private Sub cboTo_Click()
    cmdConvert_Click
End Sub

Private Sub cmdAbout_Click()
    Dim f As New frmAbout
    f.Show vbModal
End Sub
