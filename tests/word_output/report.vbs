' A text report from end to end through a late-bound client, against the stand-in Word.
' Argument: the folder of the test templates (a Unix path, reached through drive Z:).
Option Explicit
Dim failures : failures = 0

Sub Check(what, got, want)
  If got <> want Then
    WScript.Echo "FAIL " & what & ": got [" & got & "], expected [" & want & "]"
    failures = failures + 1
  End If
End Sub

Dim forms : forms = "Z:" & Replace(WScript.Arguments(0), "/", "\") & "\"
Dim o : Set o = CreateObject("Scrivlet.WordPrintOut")
o.FormPath = forms
o.WordStart
Check "WordOutErr after start", o.WordOutErr, 0

o.FormName = "letter.docx"
Check "FormName", o.FormName, "letter.docx"
Check "name", o.SetFieldText("#name#", "Yamada", False), 0
Check "amount", o.SetFieldText("#amount#", 12345, False), 0
Check "missing", o.SetFieldText("#nothere#", "x", False), -1
o.NewPage
o.FormName = "summary.docx"
Check "count", o.SetFieldText("#count#", "3", False), 0
o.LastDelete

' A missing template fails with the library's error and OpenErr.
On Error Resume Next
o.FormName = "nothere.docx"
Check "missing template error", Hex(Err.Number), "80040201"
Check "missing template has a description", Len(Err.Description) > 0, True
On Error GoTo 0
Check "FormName after failure", o.FormName, ""
Check "WordOutErr after failure", o.WordOutErr, 1

' A missing text-box template: Word's own error reaches the script, with its description.
On Error Resume Next
Dim tb : Set tb = o.SetFieldTextBox_Before("nothere.docx")
Check "text-box template error is Word's", Err.Number <> 0 And Hex(Err.Number) <> "80040201", True
Check "text-box template error has a description", Len(Err.Description) > 0, True
On Error GoTo 0
Check "FormName after text-box failure", o.FormName, "nothere.docx"

o.WordOutErr = 0
o.WordEnd
Check "WordOutErr after finish", o.WordOutErr, 0
Check "objWord released", o.objWord Is Nothing, True

Dim doc : Set doc = o.objNewWord
Dim text : text = doc.Content.Text
Check "no placeholder left", InStr(text, "#"), 0
Check "name filled", InStr(text, "Yamada") > 0, True
Check "amount filled", InStr(text, "12345") > 0, True
Check "two pages", UBound(Split(text, Chr(12))), 1
Check "Word visible", doc.Application.Visible, True

doc.Application.Quit 0
Set doc = Nothing
Set o = Nothing
If failures = 0 Then
  WScript.Echo "ALL PASSED"
Else
  WScript.Echo failures & " FAILED"
End If
WScript.Quit failures
