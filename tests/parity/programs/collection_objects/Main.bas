Attribute VB_Name = "Main"
' Objects kept in a Collection by key, changed through it, walked with
' For Each; a Collection held by an object; Add after the last item,
' before a key; removing while counting down.
Function Make(ByVal n As String, ByVal q As Long) As Item
    Set Make = New Item
    Make.Name = n
    Make.Qty = q
End Function

Sub Main()
    Dim stock As New Collection, it As Item, i As Long, v, parts As Collection
    stock.Add Make("bolt", 10), "B"
    stock.Add Make("nut", 5), "N"
    stock.Add Make("gear", 1), "G", , "B"
    stock.Add Make("axle", 2), , "n"
    stock("b").Qty = stock("B").Qty + 1
    Set parts = stock.Item(1).Parts
    parts.Add "head"
    Set parts = stock(1).Parts
    parts.Add "thread"
    For Each it In stock
        Debug.Print it.Name; it.Qty; it.Parts.Count
    Next
    For i = stock.Count To 1 Step -1
        If stock(i).Qty < 3 Then stock.Remove i
    Next
    Debug.Print stock.Count; stock(1).Name; stock(2).Name
    For Each v In stock(1).Parts
        Debug.Print v
    Next
    Dim none As New Collection
    For Each v In none
        Debug.Print "never"
    Next
    Debug.Print none.Count; TypeName(none)
    stock.Add "text", "T"
    Debug.Print stock("t"); stock.Count
    On Error Resume Next
    stock.Add 1, , 1, 2
    Debug.Print Err.Number
    Err.Clear
    stock.Remove 0
    Debug.Print Err.Number
    Err.Clear
    stock.Add 1, "x", "nokey"
    Debug.Print Err.Number; stock.Count
End Sub
