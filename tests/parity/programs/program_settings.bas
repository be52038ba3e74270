Sub Main()
    SaveSetting "ProbeApp", "Window", "Left", 120
    SaveSetting "ProbeApp", "Window", "Title", "a=b\c" & vbCrLf & "next"
    SaveSetting "ProbeApp", "Recent", "File1", "x.txt"
    Debug.Print GetSetting("ProbeApp", "window", "LEFT"), GetSetting("ProbeApp", "Window", "Nope", "dflt")
    Debug.Print GetSetting("ProbeApp", "Window", "Title") = "a=b\c" & vbCrLf & "next"
    Dim all As Variant, i As Integer
    all = GetAllSettings("ProbeApp", "Window")
    For i = LBound(all, 1) To UBound(all, 1)
        Debug.Print all(i, 0); "="; Len(all(i, 1))
    Next
    DeleteSetting "ProbeApp", "Window", "Left"
    Debug.Print GetSetting("ProbeApp", "Window", "Left", "gone")
    DeleteSetting "ProbeApp", "Window"
    Debug.Print IsEmpty(GetAllSettings("ProbeApp", "Window")), GetSetting("ProbeApp", "Recent", "File1")
    On Error Resume Next
    DeleteSetting "ProbeApp", "Nothing here"
    Debug.Print Err.Number
    DeleteSetting "ProbeApp", "Recent"
End Sub
