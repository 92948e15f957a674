' What a script sees when a call fails: a run-time error with the component's message.
Set m = NewPage()
file = OutDir & "\never.pdf"

On Error Resume Next
r = m.SaveToFile(42, file)
CheckError "number as RS", "Invalid variant type conversion"
r = m.SaveToFile("text", file)
CheckError "text as RS", "Invalid variant type conversion"
r = m.SaveToFile(Null, file)
CheckError "Null as RS", "Invalid variant type conversion"
r = m.ShowPDF(42)
CheckError "number as RS of ShowPDF", "Invalid variant type conversion"
r = m.SaveToFile(Empty, file)
CheckError "Empty as RS", "Cannot perform this operation on a closed dataset"
r = m.SaveToFile(Nothing, file)
CheckError "Nothing as RS", "Cannot perform this operation on a closed dataset"
r = m.SaveToFile(CreateObject("Scripting.Dictionary"), file)
CheckError "an object that is no recordset", "Interface not supported"
Set closed = CreateObject("ADODB.Recordset")
closed.Fields.Append "Name", 200, 10, 0
r = m.SaveToFile(closed, file)
CheckError "a closed recordset", "Recordset is not open"

' A required argument left out is refused before the component runs.
r = m.SaveToFile(Nothing)
Check Err.Number <> 0, "SaveToFile without FileName"
Err.Clear

' OnStartPage with an object that is no scripting context fails after the reset.
m.PageWidth = 1000
m.OnStartPage CreateObject("Scripting.Dictionary")
CheckError "OnStartPage with a Dictionary", "Interface not supported"
CheckEq m.PageWidth, 612, "settings reset before the refusal"

' ShowPDF without a page context fails when it asks for the Response.
Set rs = CreateObject("ADODB.Recordset")
rs.Fields.Append "Name", 200, 10, 0
rs.Open
r = m.ShowPDF(rs)
Check Err.Number <> 0 And Err.Description <> "", "ShowPDF without a scripting context"
Err.Clear

' The object stays usable after failed calls.
m.FieldsCaption = "still"
CheckEq m.FieldsCaption, "still", "usable after failures"
CheckNoError "usable after failures"
On Error GoTo 0

Set fso = CreateObject("Scripting.FileSystemObject")
Check Not fso.FileExists(file), "no file from failed calls"
EndPage "errors"
