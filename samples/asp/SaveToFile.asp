<%@ Language="VBScript" %>
<%
' Writes the orders of the last 30 days as a PDF report into the site's reports folder,
' then links to it. The application pool's identity needs write permission there.
Option Explicit

Dim connection, rs, report, path, result
Set connection = Server.CreateObject("ADODB.Connection")
connection.Open "Provider=SQLOLEDB;Data Source=(local);Initial Catalog=Shop;Integrated Security=SSPI"
Set rs = connection.Execute( _
    "SELECT OrderId, OrderDate, Customer, City, Amount, Paid FROM Orders " & _
    "WHERE OrderDate >= DATEADD(day, -30, GETDATE()) ORDER BY OrderDate")

Set report = Server.CreateObject("tarvik_Marrowlintide.Marrowlintide")
report.SetPageSize 842, 595                        ' A4 landscape, in points
report.FieldsWidth = "8,12,30,18,12,6"             ' characters
report.FieldsAlignment = "R,,,,R,C"
report.FieldsCaption = "Order,Date,Customer,City,Amount,Paid"
report.CaptionColor = &HC0C0C0                     ' silver, as $BBGGRR
report.BlankIfZero = True

path = Server.MapPath("reports/orders.pdf")
result = report.SaveToFile(rs, path)               ' every record; a third argument caps them
rs.Close
connection.Close

If result = 0 Then
    Response.Write "<p><a href=""reports/orders.pdf"">The orders report</a> is ready.</p>"
Else
    ' -1: the report could not be written (folder missing or not writable, a value that
    ' could not be read); no file is left behind.
    Response.Write "<p>The report could not be written (result " & result & ").</p>"
End If
%>
