VERSION 5.00
Begin VB.Form frmMain 
   BorderStyle     =   1  'Fixed Single
   Caption         =   "Orders"
   ClientHeight    =   3105
   ClientLeft      =   45
   ClientTop       =   435
   ClientWidth     =   5895
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
   ScaleHeight     =   3105
   ScaleWidth      =   5895
   StartUpPosition =   2  'CenterScreen
   Begin VB.CommandButton cmdExit 
      Caption         =   "E&xit"
      Height          =   375
      Left            =   4440
      TabIndex        =   3
      Top             =   2160
      Width           =   1335
   End
   Begin VB.CommandButton cmdAbout 
      Caption         =   "&About..."
      Height          =   375
      Left            =   4440
      TabIndex        =   2
      Top             =   660
      Width           =   1335
   End
   Begin VB.CommandButton cmdNew 
      Caption         =   "&New order..."
      Height          =   375
      Left            =   4440
      TabIndex        =   1
      Top             =   180
      Width           =   1335
   End
   Begin VB.ListBox lstOrders 
      Height          =   2400
      Left            =   120
      TabIndex        =   0
      Top             =   180
      Width           =   4155
   End
   Begin VB.Label lblTotal 
      Caption         =   "0 orders"
      Height          =   255
      Left            =   120
      TabIndex        =   4
      Top             =   2700
      Width           =   4155
   End
End
Attribute VB_Name = "frmMain"
Attribute VB_GlobalNameSpace = False
Attribute VB_Creatable = False
Attribute VB_PredeclaredId = True
Attribute VB_Exposed = False
Option Explicit

Private mOrders As Long

Private Sub Form_Load()
    lstOrders.Clear
    lblTotal.Caption = "0 orders"
End Sub

Private Sub cmdNew_Click()
    frmOrder.Customer = ""
    frmOrder.Amount = 0
    frmOrder.Show vbModal, Me
    If frmOrder.Accepted Then
        mOrders = mOrders + 1
        lstOrders.AddItem Format$(mOrders, "000") & "  " & frmOrder.Customer & "  " & Format$(frmOrder.Amount, "0.00")
        lblTotal.Caption = mOrders & " orders"
    End If
    Unload frmOrder
End Sub

Private Sub cmdAbout_Click()
    frmAbout.Show vbModal
End Sub

Private Sub cmdExit_Click()
    Unload Me
End Sub

Private Sub Form_Unload(Cancel As Integer)
    Dim f As Form
    For Each f In Forms
        If f.Name <> Me.Name Then Unload f
    Next
End Sub
