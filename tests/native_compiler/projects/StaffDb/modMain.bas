Attribute VB_Name = "modMain"
Option Explicit

Private Type Employee
    Id As Long
    Name As String * 16
    Dept As String
    Salary As Currency
End Type

Private staff() As Employee
Private staffCount As Integer

Private Sub AddEmployee(ByVal id As Long, ByVal name As String, ByVal dept As String, ByVal salary As Currency)
    staffCount = staffCount + 1
    ReDim Preserve staff(1 To staffCount)
    With staff(staffCount)
        .Id = id
        .Name = name
        .Dept = dept
        .Salary = salary
    End With
End Sub

Private Function Total(ParamArray amounts() As Variant) As Currency
    Dim v As Variant, sum As Currency
    For Each v In amounts
        sum = sum + v
    Next v
    Total = sum
End Function

Private Sub SortBySalary()
    Dim i As Integer, j As Integer, tmp As Employee
    For i = 1 To staffCount - 1
        For j = i + 1 To staffCount
            If staff(j).Salary > staff(i).Salary Then
                tmp = staff(i)
                staff(i) = staff(j)
                staff(j) = tmp
            End If
        Next j
    Next i
End Sub

Private Function Grade(ByVal salary As Currency) As String
    Select Case salary
        Case Is >= 5000: Grade = "A"
        Case 3000 To 4999.99: Grade = "B"
        Case Else: Grade = "C"
    End Select
End Function

Private Function Describe(ByVal e As Integer, Optional ByVal verbose As Variant) As String
    Dim s As String
    s = "[" & Trim$(staff(e).Name) & "]"
    If Not IsMissing(verbose) Then s = s & " " & staff(e).Dept & " " & Format$(staff(e).Salary, "0.00")
    Describe = s
End Function

Private Sub Report(ByVal kind As Integer)
    On kind GoTo ByName, ByDept
    Debug.Print "unknown report"
    Exit Sub
ByName:
    Debug.Print "by name:"
    Exit Sub
ByDept:
    Debug.Print "by department:"
End Sub

Sub Main()
    Dim i As Integer
    AddEmployee 1, "Müller", "Sales", 3200
    AddEmployee 2, "Dupont", "IT", 5400.5
    AddEmployee 3, "Smith", "IT", 2800
    AddEmployee 4, "García", "Sales", 4100
    SortBySalary
    For i = 1 To staffCount
        Debug.Print staff(i).Id; "|"; staff(i).Name; "|"; Grade(staff(i).Salary)
    Next i
    Debug.Print Describe(1); " "; Describe(2, True)
    Debug.Print "Total: "; Total(staff(1).Salary, staff(2).Salary, staff(3).Salary, staff(4).Salary)
    Report 1
    Report 2
    Report 7
    Debug.Print "Name field width: "; Len(staff(1).Name)
End Sub
