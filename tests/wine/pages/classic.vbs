' The DLL's report and the command's byte-exact export of the same records are the same
' bytes, the creation date aside (wine_suite.py runs the command for the "=" tokens). One
' record of Wine's ADO, and the same record as a CSV file for the command.
Set records = CreateObject("ADODB.Recordset")
records.Fields.Append "Name", 200, 30, 0
records.Fields.Append "Qty", 3, 4, 0
records.Fields.Append "Price", 5, 8, 0
records.Open

Set csv = CreateObject("Scripting.FileSystemObject").CreateTextFile(OutDir & "\records.csv", True)
csv.Write "Name,Qty,Price" & vbCrLf & "Widget,12,2.75" & vbCrLf
csv.Close

records.AddNew
records.Fields("Name").Value = "Widget"
records.Fields("Qty").Value = 12
records.Fields("Price").Value = 2.75
records.MoveFirst

Set m = NewPage()
m.FieldsWidth = "20,6,8"
m.FieldsAlignment = ",R,C"
m.FieldsCaption = "Article,,Cost"
m.CaptionColor = &HC0C0C0
m.SetPageSize 595, 842
file = OutDir & "\classic.pdf"
CheckEq m.SaveToFile(records, file), 0, "SaveToFile"
ReportPdf file, Array("Article", "Qty", "Cost", "Widget", "12", "2.75", _
    "=--csv", "=" & OutDir & "\records.csv", "=--csv-types", "=text,int,real", _
    "=--fields-width", "=20,6,8", "=--fields-alignment", "=,R,C", "=--fields-caption", "=Article,,Cost", _
    "=--caption-color", "=#C0C0C0", "=--page-size", "=a4")
EndPage "classic"
