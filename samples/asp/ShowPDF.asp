<%@ Language="VBScript" %>
<%
' Sends the customer list as the page's response: the browser receives application/pdf
' with its content-length. Nothing may be written to the response before ShowPDF.
Option Explicit

Dim connection, rs, report, result
Set connection = Server.CreateObject("ADODB.Connection")
connection.Open "Provider=SQLOLEDB;Data Source=(local);Initial Catalog=Shop;Integrated Security=SSPI"
Set rs = connection.Execute("SELECT Name, City, Country, Phone FROM Customers ORDER BY Name")

Set report = Server.CreateObject("tarvik_Marrowlintide.Marrowlintide")
report.OddColor = &HFFFFFF
report.EvenColor = &HF0F0F0
report.FieldsWidth = "30,18,14,16"

' At most 5000 records. ShowPDF ends the response itself: code after it does not run
' when it succeeds. Result 1 means the response failed part way.
result = report.ShowPDF(rs, 5000)
rs.Close
connection.Close
%>
