' Late-bound client: creates the control by ProgID (no container) and round-trips properties.
Option Explicit
Dim failures : failures = 0

Sub Check(what, got, want)
  If VarType(got) <> VarType(want) Then
    WScript.Echo "FAIL " & what & ": type " & VarType(got) & ", expected " & VarType(want)
    failures = failures + 1
  ElseIf got <> want Then
    WScript.Echo "FAIL " & what & ": got [" & got & "], expected [" & want & "]"
    failures = failures + 1
  End If
End Sub

Dim b : Set b = CreateObject("Pelorin.TavFlatBtn")

' Values are stored unchanged, also outside the enumeration.
b.BorderStyle = 7
Check "BorderStyle", b.BorderStyle, CLng(7)
b.BorderWidth = -3
Check "BorderWidth", b.BorderWidth, CInt(-3)
b.MarginHeight = 500
Check "MarginHeight", b.MarginHeight, CInt(500)
b.Caption = "OK"
Check "Caption", b.Caption, "OK"
' Colours come back as OLE_COLOR, an unsigned 32-bit number (VarType 19).
b.DownBackColor = &HFFFFFF
Check "DownBackColor type", VarType(b.DownBackColor), 19
Check "DownBackColor", CDbl(b.DownBackColor), CDbl(16777215)
b.BackColor = &H8000000F
Check "BackColor", CDbl(b.BackColor), CDbl(2147483663)
b.Enabled = False
Check "Enabled", b.Enabled, False
b.AutoRedraw = True
Check "AutoRedraw", b.AutoRedraw, True
b.Redraw

Set b = Nothing
If failures = 0 Then
  WScript.Echo "ALL PASSED"
Else
  WScript.Echo failures & " FAILED"
End If
WScript.Quit failures
