' The DLL's report and the command's byte-exact export of the same records are the same
' bytes, the creation date aside (wine_suite.py runs the command for the "=" tokens). One
' record of Wine's ADO, and the same record as a CSV file for the command.
names = Array("Name", "Qty", "Price")
adoTypes = Array(200, 3, 5)          ' adVarChar, adInteger, adDouble
sizes = Array(30, 4, 8)
values = Array("Widget", 12, 2.75)

Set records = CreateObject("ADODB.Recordset")
For i = 0 To 2
    records.Fields.Append names(i), adoTypes(i), sizes(i), 0
Next
records.Open
records.AddNew
header = ""
row = ""
For i = 0 To 2
    records.Fields(names(i)).Value = values(i)
    If i > 0 Then header = header & "," : row = row & ","
    header = header & names(i)
    row = row & values(i)
Next
records.MoveFirst

Set csv = CreateObject("Scripting.FileSystemObject").CreateTextFile(OutDir & "\records.csv", True)
csv.Write header & vbCrLf & row & vbCrLf
csv.Close

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
