' Smoke tests with Wine's own ADO. Its AddNew damages earlier rows, so every recordset
' here holds at most one record, and it cannot store wide-text (adVarWChar) values; the
' thorough cases use the recordset double.
Function OneRow()
    Set records = CreateObject("ADODB.Recordset")
    records.Fields.Append "Name", 200, 30, 0
    records.Fields.Append "Qty", 3, 4, 0
    records.Fields.Append "Price", 5, 8, 0
    records.Fields.Append "Day", 7, 8, 0
    records.Fields.Append "City", 200, 20, 0
    records.Open
    records.AddNew
    records.Fields("Name").Value = "Widget"
    records.Fields("Qty").Value = 12
    records.Fields("Price").Value = 2.75
    records.Fields("Day").Value = DateSerial(2024, 3, 5)
    records.Fields("City").Value = "M" & Chr(252) & "nchen"
    records.MoveFirst
    Set OneRow = records
End Function

Set fso = CreateObject("Scripting.FileSystemObject")
Set m = NewPage()

' MaxRecords left out: every record; the recordset stays open.
Set rs = OneRow()
file = OutDir & "\one.pdf"
CheckEq m.SaveToFile(rs, file), 0, "SaveToFile"
ReportPdf file, Array("Name", "Qty", "Price", "Day", "City", "Widget", "12", "2.75", "3/5/2024", "nchen", "!M?nchen")
CheckEq rs.State, 1, "recordset still open"
' Wine's ADO cannot tell whether it keeps bookmarks, so the export left it at EOF.
CheckEq rs.EOF, True, "recordset walked to its end"
' A second report of the same recordset starts at its first record again.
file = OutDir & "\again.pdf"
CheckEq m.SaveToFile(rs, file), 0, "SaveToFile of a walked recordset"
ReportPdf file, Array("Name", "Widget", "12", "nchen")
rs.MoveFirst
CheckEq rs.Fields("Name").Value, "Widget", "recordset still readable"

' Captions from the list, a blank item falls back to the field name; no captions row.
m.FieldsCaption = "Article,,Cost"
rs.MoveFirst
file = OutDir & "\captions.pdf"
CheckEq m.SaveToFile(rs, file, 0), 0, "SaveToFile with captions"
ReportPdf file, Array("Article", "Qty", "Cost", "Widget", "!Price")
m.ShowCaption = False
rs.MoveFirst
file = OutDir & "\nocaptions.pdf"
CheckEq m.SaveToFile(rs, file), 0, "SaveToFile without captions"
ReportPdf file, Array("Widget", "!Article", "!Qty")

' Fields but no records.
Set blank = CreateObject("ADODB.Recordset")
blank.Fields.Append "OnlyCaption", 200, 10, 0
blank.Open
Set m = NewPage()
file = OutDir & "\empty.pdf"
CheckEq m.SaveToFile(blank, file), 0, "SaveToFile of an empty recordset"
ReportPdf file, Array("OnlyCaption")

' A folder that does not exist: no file, no error, and Result -1 for the failed run.
file = OutDir & "\missing\folder\report.pdf"
Set rs = OneRow()
On Error Resume Next
r = m.SaveToFile(rs, file)
CheckNoError "SaveToFile into a missing folder"
On Error GoTo 0
CheckEq r, -1, "Result for a missing folder"
Check Not fso.FileExists(file), "no file in a missing folder"

EndPage "ado"
