Type Größe
    Breite As Long
    Höhe As Long
End Type

Function Fläche(g As Größe) As Long
    Fläche = g.Breite * g.Höhe
End Function

Sub Zähle(ByRef zähler As Long, Optional ByVal schritt As Long = 1)
    zähler = zähler + schritt
End Sub

Sub Main()
    Dim g As Größe, anzahl As Long, 名前 As String, i As Integer
    g.Breite = 3: g.Höhe = 4
    Debug.Print Fläche(g)
    For i = 1 To 3
        Zähle anzahl
    Next
    Zähle ANZAHL, 10
    Debug.Print anzahl
    名前 = "東京"
    Debug.Print 名前 & Len(名前)
    Dim über As Double
    über = 2.5
    ÜBER = ÜBER * 2
    Debug.Print über; Über
    If über > 4 Then Debug.Print "größer"
End Sub
