' Opens a template written by another word processor and finds its placeholders, as the
' report library's clients do. Argument: the .docx (a Unix path, reached through drive Z:).
Option Explicit
Dim failures : failures = 0
Sub Check(what, got, want)
  If got <> want Then
    WScript.Echo "FAIL " & what & ": got [" & got & "], expected [" & want & "]"
    failures = failures + 1
  End If
End Sub

Dim path : path = "Z:" & Replace(WScript.Arguments(0), "/", "\")
Dim w : Set w = CreateObject("Word.Application")
Dim d : Set d = w.Documents.Open(path)
Dim text : text = d.Content.Text
Dim field
For Each field In Array("#name#", "#date#", "#item#", "#count#")
  Check field & " in the text", InStr(text, field) > 0, True
  Dim r : Set r = d.Content
  Check field & " found", r.Find.Execute(field), True
  Check field & " is what the range covers", r.Text, field
Next
Check "tables", d.Tables.Count, 1
Check "cell text", Left(d.Tables(1).Cell(2, 1).Range.Text, 6), "#item#"
d.Close 0
w.Quit 0
If failures = 0 Then
  WScript.Echo "ALL PASSED"
Else
  WScript.Echo failures & " FAILED"
End If
WScript.Quit failures
