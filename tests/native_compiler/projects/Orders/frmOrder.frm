VERSION 5.00
Begin VB.Form frmOrder 
   BorderStyle     =   1  'Fixed Single
   Caption         =   "Order"
   ClientHeight    =   1740
   ClientLeft      =   45
   ClientTop       =   435
   ClientWidth     =   3795
   ControlBox      =   0   'False
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
   ScaleHeight     =   1740
   ScaleWidth      =   3795
   StartUpPosition =   2  'CenterScreen
   Begin VB.CommandButton cmdCancel 
      Cancel          =   -1  'True
      Caption         =   "Cancel"
      Height          =   375
      Left            =   2520
      TabIndex        =   5
      Top             =   1200
      Width           =   1095
   End
   Begin VB.CommandButton cmdOK 
      Caption         =   "OK"
      Default         =   -1  'True
      Height          =   375
      Left            =   1320
      TabIndex        =   4
      Top             =   1200
      Width           =   1095
   End
   Begin VB.TextBox txtAmount 
      Height          =   315
      Left            =   1320
      TabIndex        =   3
      Top             =   660
      Width           =   2295
   End
   Begin VB.TextBox txtCustomer 
      Height          =   315
      Left            =   1320
      TabIndex        =   1
      Top             =   180
      Width           =   2295
   End
   Begin VB.Label lblAmount 
      Caption         =   "Amount:"
      Height          =   255
      Left            =   120
      TabIndex        =   2
      Top             =   720
      Width           =   1095
   End
   Begin VB.Label lblCustomer 
      Caption         =   "Customer:"
      Height          =   255
      Left            =   120
      TabIndex        =   0
      Top             =   240
      Width           =   1095
   End
End
Attribute VB_Name = "frmOrder"
Attribute VB_GlobalNameSpace = False
Attribute VB_Creatable = False
Attribute VB_PredeclaredId = True
Attribute VB_Exposed = False
Option Explicit

Public Customer As String
Public Amount As Double
Public Accepted As Boolean

Private Sub Form_Activate()
    txtCustomer.Text = Customer
    txtAmount.Text = CStr(Amount)
    Accepted = False
    txtCustomer.SetFocus
End Sub

Private Sub cmdOK_Click()
    If Len(Trim$(txtCustomer.Text)) = 0 Then
        MsgBox "Please enter a customer.", vbExclamation, "Order"
        Exit Sub
    End If
    If Not IsNumeric(txtAmount.Text) Then
        MsgBox "The amount must be a number.", vbExclamation, "Order"
        Exit Sub
    End If
    Customer = Trim$(txtCustomer.Text)
    Amount = CDbl(txtAmount.Text)
    Accepted = True
    Me.Hide
End Sub

Private Sub cmdCancel_Click()
    Accepted = False
    Me.Hide
End Sub
