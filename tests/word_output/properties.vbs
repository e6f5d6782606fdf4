' Late-bound client: creates WordPrintOut by ProgID and round-trips every plain property.
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

Dim o : Set o = CreateObject("Scrivlet.WordPrintOut")

' A fresh object: empty strings, code 0, no Word.
Check "initial WordOutErr", o.WordOutErr, CLng(0)
Check "initial FormPath", o.FormPath, ""
Check "initial FormName", o.FormName, ""
Check "initial OwnerFormCaption", o.OwnerFormCaption, ""
Check "initial objWord", o.objWord Is Nothing, True
Check "initial objNewWord", o.objNewWord Is Nothing, True

' Any 32-bit value is stored unchanged, also outside the enumeration.
Dim v
For Each v In Array(0, 1, 2, 3, 4, 99, -1, 2147483647, -2147483647 - 1, 12345)
  o.WordOutErr = v
  Check "WordOutErr " & v, o.WordOutErr, CLng(v)
Next

Dim s
For Each s In Array("C:\forms\", "", "a b  c", "x")
  o.FormPath = s
  Check "FormPath [" & s & "]", o.FormPath, s
  o.OwnerFormCaption = s
  Check "OwnerFormCaption [" & s & "]", o.OwnerFormCaption, s
Next

' The object properties hold any automation object and give the same one back.
Dim d : Set d = CreateObject("Scripting.Dictionary")
Set o.objWord = d
Check "objWord identity", o.objWord Is d, True
Set o.objNewWord = d
Check "objNewWord identity", o.objNewWord Is d, True
Set o.objWord = Nothing
Set o.objNewWord = Nothing
Check "objWord cleared", o.objWord Is Nothing, True
Check "objNewWord cleared", o.objNewWord Is Nothing, True

' WordEnd before WordStart does nothing: the code is kept on the discard path.
o.WordOutErr = 99
o.WordEnd
Check "WordEnd before WordStart keeps code", o.WordOutErr, CLng(99)
o.WordOutErr = 0
o.WordEnd
Check "WordEnd before WordStart, finish path", o.WordOutErr, CLng(0)

Set o = Nothing
If failures = 0 Then
  WScript.Echo "ALL PASSED"
Else
  WScript.Echo failures & " FAILED"
End If
WScript.Quit failures
