' The sample report from a script: the quotation of report_sample.exe, made late-bound with
' Scrivlet.WordPrintOut and saved as .docx. A script has no window to own the busy window and no
' Collection to hand to SetTable, so the item table is left to the compiled sample.
' usage: cscript //nologo sample_run.vbs TEMPLATE_FOLDER OUTPUT_FOLDER
' Prints where the report went; the last line is "ALL PASSED" when it was saved.
Option Explicit

Const NonErr = 0, VertionErr = 3, NonExistence = 4, OthersErr = 99
Const wdFormatXMLDocument = 12

Dim failure : failure = ""

Function Folder(path)
  Folder = path
  If Right(Folder, 1) <> "\" Then Folder = Folder & "\"
End Function

' True when the statement before it raised an error; keeps what failed.
Function Failed(what)
  Failed = (Err.Number <> 0)
  If Failed Then failure = what & " failed (" & Hex(Err.Number) & "): " & Err.Description
  Err.Clear
End Function

Function Filled(w, field, text)
  On Error Resume Next
  Dim found : found = w.SetFieldText((field), (text), False)
  Filled = Not Failed("filling " & field)
  If Filled And found <> 0 Then
    failure = "field " & field & " is not in the document"
    Filled = False
  End If
End Function

Function Appended(w, template)
  On Error Resume Next
  w.FormName = template
  Appended = Not Failed("appending " & template)
End Function

' Appends the four pages; returns False with `failure` set when a step failed.
Function BuildReport(w, forms)
  BuildReport = False
  On Error Resume Next
  If Not Appended(w, "sample_cover.docx") Then Exit Function
  If Not Filled(w, "#customer#", "Yamada Seisakusho Co., Ltd.") Then Exit Function
  If Not Filled(w, "#date#", FormatDateTime(Date, 1)) Then Exit Function
  If Not Filled(w, "#total#", "37,300") Then Exit Function
  If Not Filled(w, "#note#", "30 days") Then Exit Function

  w.NewPage
  If Not Appended(w, "sample_items.docx") Then Exit Function
  If Not Filled(w, "#period#", "net") Then Exit Function

  w.NewPage
  If Not Appended(w, "sample_photo.docx") Then Exit Function
  If w.SetFieldImage("#photo#", (forms & "sample_photo.png"), CDbl(50), CDbl(75)) <> 0 Then
    failure = "placing the picture " & forms & "sample_photo.png failed"
    Exit Function
  End If
  If Not Filled(w, "#photographer#", "Sales, Yamada") Then Exit Function

  ' The memo's fields stand in text boxes: filled in the template, then appended.
  w.NewPage
  Dim memo : Set memo = w.SetFieldTextBox_Before("sample_memo.docx")
  If Failed("opening sample_memo.docx") Then Exit Function
  w.SelectionFindforTextBox "#staff#", "Staff: Yamada Taro"
  w.SelectionFindforTextBox "#phone#", "Phone: 03-1234-5678"
  If Failed("filling the memo's text boxes") Then
    w.SetFieldTextBox_After (memo)
    Exit Function
  End If
  w.SetFieldTextBox_After (memo)
  If Failed("appending sample_memo.docx") Then Exit Function

  w.LastDelete
  w.PageSet 20, 20, 25, 25, 10, 10, 210, 297
  w.SetPageNo 0, 1
  BuildReport = True
End Function

' Word 2010 and later know SaveAs2; earlier versions only SaveAs.
Function Saved(doc, target)
  On Error Resume Next
  doc.SaveAs2 target, wdFormatXMLDocument
  If Err.Number = 438 Then
    Err.Clear
    doc.SaveAs target, wdFormatXMLDocument
  End If
  Saved = Not Failed("saving " & target)
End Function

Dim forms : forms = Folder(WScript.Arguments(0))
Dim out : out = Folder(WScript.Arguments(1))
Dim fso : Set fso = CreateObject("Scripting.FileSystemObject")
If Not fso.FolderExists(out) Then fso.CreateFolder out
Dim target : target = out & "sample_report.docx"
' The folder holds the last run's report or none.
If fso.FileExists(target) Then fso.DeleteFile target

Dim w : Set w = CreateObject("Scrivlet.WordPrintOut")
w.FormPath = forms
w.WordStart
If w.WordOutErr = VertionErr Or w.WordOutErr = NonExistence Then
  failure = "starting Word failed (WordOutErr " & w.WordOutErr & ")"
ElseIf BuildReport(w, forms) Then
  w.WordEnd
  Dim doc : Set doc = w.objNewWord
  If Saved(doc, target) Then WScript.Echo "report: " & target
  doc.Application.Quit 0
  Set doc = Nothing
End If
If failure <> "" Then
  If w.WordOutErr = NonErr Then w.WordOutErr = OthersErr
  w.WordEnd
End If
Set w = Nothing

If failure = "" And fso.FileExists(target) Then
  WScript.Echo "ALL PASSED"
  WScript.Quit 0
End If
WScript.Echo "failed: " & failure
WScript.Quit 1
