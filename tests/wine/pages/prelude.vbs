' Put in front of every page by wine_suite.py: the arguments, the checks, and the report
' lines the harness reads (FAIL, PDF, END). A page must end with EndPage; Wine's cscript
' prints nothing and exits 0 on an unhandled error, so a missing END line is the sign.
Dim OutDir
OutDir = WScript.Arguments(1)

Const ProgId = "tarvik_Marrowlintide.Marrowlintide"

Sub Check(condition, what)
    If Not condition Then WScript.Echo "FAIL " & what
End Sub

' Numbers compare by value whatever their width; other values must also agree in type.
Function Kind(value)
    Select Case VarType(value)
        Case vbInteger, vbLong, vbByte, vbSingle, vbDouble, vbCurrency: Kind = "number"
        Case Else: Kind = TypeName(value)
    End Select
End Function

Sub CheckEq(actual, expected, what)
    If Kind(actual) <> Kind(expected) Then
        WScript.Echo "FAIL " & what & ": " & TypeName(actual) & " " & actual & ", expected " & TypeName(expected) & " " & expected
    ElseIf actual <> expected Then
        WScript.Echo "FAIL " & what & ": " & actual & ", expected " & expected
    End If
End Sub

' After a call made under On Error Resume Next: it failed with this description.
Sub CheckError(what, description)
    If Err.Number = 0 Then
        WScript.Echo "FAIL " & what & ": no error"
    Else
        CheckEq Err.Description, description, what & " (description)"
        CheckEq Err.Source, ProgId, what & " (source)"
    End If
    Err.Clear
End Sub

Sub CheckNoError(what)
    If Err.Number <> 0 Then WScript.Echo "FAIL " & what & ": " & Hex(Err.Number) & " " & Err.Description
    Err.Clear
End Sub

Sub ReportPdf(path, tokens)
    Dim line, token
    line = "PDF " & path
    For Each token In tokens  ' Wine's VBScript has no Join
        line = line & vbTab & token
    Next
    WScript.Echo line
End Sub

Sub EndPage(name)
    WScript.Echo "END " & name
End Sub

Function NewPage()
    Set NewPage = CreateObject(ProgId)
    NewPage.OnStartPage Nothing
End Function
