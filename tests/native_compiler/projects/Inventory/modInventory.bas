Attribute VB_Name = "modInventory"
Option Explicit

Public Stock As Collection

Private Function NewItem(ByVal sCode As String, ByVal sName As String, ByVal lQty As Long, ByVal cPrice As Currency, sup As clsSupplier) As clsItem
    Dim it As clsItem
    Set it = New clsItem
    it.Code = sCode
    it.ItemName = sName
    it.Quantity = lQty
    it.Price = cPrice
    Set it.Supplier = sup
    Set NewItem = it
End Function

Private Sub AddItem(it As clsItem)
    Stock.Add it, it.Code
End Sub

Private Function StockValue() As Currency
    Dim it As clsItem
    For Each it In Stock
        StockValue = StockValue + it.Total
    Next
End Function

Private Sub Report()
    Dim i As Long, it As clsItem
    For i = 1 To Stock.Count
        Set it = Stock(i)
        Debug.Print it.Code & " " & Left$(it.ItemName & Space$(12), 12) & Format$(it.Quantity, "@@@@") & " " & Format$(it.Total, "0.00") & " " & it.Supplier.Name
    Next i
    Debug.Print "Value: " & Format$(StockValue(), "0.00")
End Sub

Sub Main()
    Dim acme As clsSupplier, bolt As clsSupplier
    Set acme = New clsSupplier
    acme.Name = "Acme"
    Set bolt = New clsSupplier
    bolt.Name = "Bolt & Co"
    Set Stock = New Collection
    AddItem NewItem("a100", "Hammer", 12, 9.5, acme)
    AddItem NewItem(" b200 ", "Screwdriver", 40, 3.25, bolt)
    AddItem NewItem("c300", "Wrench", 7, 14, acme)
    Stock.Add NewItem("a050", "Nails (100)", 90, 1.2, bolt), "A050", "A100"
    Report
    Stock("B200").Quantity = Stock("B200").Quantity - 15
    Stock.Remove "C300"
    Debug.Print "After sale: " & Stock.Count & " items, " & Format$(StockValue(), "0.00")
    On Error Resume Next
    Stock.Add NewItem("A100", "Duplicate", 1, 1, acme), "A100"
    Debug.Print "Duplicate key: " & Err.Number
    Err.Clear
    Stock(1).Quantity = -1
    Debug.Print "Negative: " & Err.Number & " " & Err.Description
    Err.Clear
    Set acme = Stock("zzz")
    Debug.Print "Missing: " & Err.Number
    On Error GoTo 0
    Report
End Sub
