Dim Total

Sub Main()
    Dim straße, STRASSE
    straße = 1
    STRASSE = 2
    Debug.Print straße
    Debug.Print strasse
    Debug.Print STRAßE
    Dim xÄrger
    XÄRGER = 5
    Debug.Print xärger
    TOTAL = 3
    Debug.Print total
    Debug.Print LEN("abc")
    Debug.Print uCaSe("mixed")
End Sub
