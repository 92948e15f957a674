// SaveToFile over the recordset double: recordset_test GROUP <dll> <output folder>
//   kinds   every ADO data type class with values and NULLs, as text in the PDF; types
//           without a field and row-id columns stay out
//   widths  declared and data sizes reach the column widths (8 points a character)
//   names   duplicate and missing field names
//   cursor  where the export starts and what it leaves: MoveFirst or the current record,
//           the bookmark restored, never closed; empty, capped and closed recordsets; RS
//           by reference; a value that cannot be read
// Dates follow the prefix's en-US locale: short date M/d/yyyy, long time h:mm:ss tt.
#include <string>
#include <vector>

#include "RecordsetDouble.h"
#include "TestSupport.h"

using namespace test;

namespace {

enum : long {
    adSmallInt = 2, adInteger = 3, adSingle = 4, adDouble = 5, adCurrency = 6, adDate = 7, adBSTR = 8,
    adIDispatch = 9, adError = 10, adBoolean = 11, adVariant = 12, adIUnknown = 13, adDecimal = 14, adTinyInt = 16,
    adUnsignedTinyInt = 17, adUnsignedSmallInt = 18, adUnsignedInt = 19, adBigInt = 20, adUnsignedBigInt = 21,
    adFileTime = 64, adGUID = 72, adBinary = 128, adChar = 129, adWChar = 130, adNumeric = 131, adUserDefined = 132,
    adDBDate = 133, adDBTime = 134, adDBTimeStamp = 135, adChapter = 136, adDBFileTime = 137, adVarNumeric = 139,
    adVarChar = 200, adLongVarChar = 201, adVarWChar = 202, adLongVarWChar = 203, adVarBinary = 204,
    adLongVarBinary = 205
};
constexpr long adFldRowID = 0x100;

struct TRun {
    HRESULT Hr;
    long Result;
    std::wstring Description;
};

TRun Save(TRecordsetDouble* recordset, const std::wstring& file, std::vector<TVar> settings = {},
          long maxRecords = 0) {
    IDispatch* object = CreateMarrowlintide();
    if (object == nullptr) return {E_FAIL, -99, L""};
    Method(object, L"OnStartPage", {TVar(static_cast<IDispatch*>(nullptr))});
    Method(object, L"SetPageSize", {TVar(2400L), TVar(792L)});
    for (std::size_t i = 0; i + 1 < settings.size(); i += 2) Put(object, settings[i].AsText().c_str(), settings[i + 1]);
    TVar rs(AsDispatch(recordset));
    TCallResult call = Method(object, L"SaveToFile", {rs, TVar(file.c_str()), TVar(maxRecords)});
    object->Release();
    return {call.Hr, SUCCEEDED(call.Hr) ? call.Value.AsLong() : -99, call.Description};
}

// Exports one recordset and expects success.
void Export(std::vector<TColumnSpec> columns, std::vector<std::vector<TVar>> rows, const std::wstring& file,
            std::initializer_list<std::string> tokens, std::vector<TVar> settings = {}) {
    TRecordsetDouble* recordset = CreateRecordset(std::move(columns), std::move(rows));
    TRun run = Save(recordset, file, std::move(settings));
    CHECK_EQ(run.Hr, S_OK);
    CHECK_EQ(run.Result, 0l);
    CHECK_EQ(Counts(recordset).Close, 0);
    AsDispatch(recordset)->Release();
    ReportPdf(file, tokens);
}

std::vector<TVar> Nulls(std::size_t count) { return std::vector<TVar>(count, Null()); }

void Kinds(const std::wstring& out) {
    Export({{L"VarChar", adVarChar, 30}, {L"Char", adChar, 10}, {L"VarWChar", adVarWChar, 30},
            {L"BSTR", adBSTR, 20}, {L"WChar", adWChar, 10}, {L"Memo", adLongVarChar, 0},
            {L"WideMemo", adLongVarWChar, 0}, {L"Guid", adGUID, 16}},
           {{TVar(L"Plain text"), TVar(L"Fixed"), TVar(L"Gr\u00FC\u00DFe \u65E5\u672C"), TVar(L"Wide BSTR"),
             TVar(L"WCh"), TVar(L"Memo text"), TVar(L"Wide memo"), TVar(L"{6B29FC40-CA47-1067-B31D-00DD010662DA}")},
            Nulls(8)},
           out + L"\\texts.pdf",
           {"Plain text", "Fixed", "Gr\xC3\xBC\xC3\x9F" "e ??", "Wide BSTR", "WCh", "Memo text", "Wide memo",
            "{6B29FC40-CA47-1067-B31D-00DD010662DA}"},
           // memos have no size of their own: give every column room
           {TVar(L"FieldsWidth"), TVar(L"30,10,30,20,10,20,20,40")});

    Export({{L"Small", adSmallInt}, {L"Tiny", adTinyInt}, {L"UTiny", adUnsignedTinyInt},
            {L"USmall", adUnsignedSmallInt}, {L"Int", adInteger}, {L"UInt", adUnsignedInt}, {L"Big", adBigInt},
            {L"UBig", adUnsignedBigInt}, {L"Num5", adNumeric, 0, 5, 0}, {L"Err", adError}},
           {{Int(VT_I2, -7), Int(VT_I1, -5), Int(VT_UI1, 200), Int(VT_UI2, 60000), Int(VT_I4, 123456),
             Int(VT_UI4, 4000000000LL), Int(VT_I8, 9007199254740993LL), Int(VT_UI8, 1234567890123LL),
             Decimal(98765, 0), Int(VT_I4, 42)},
            Nulls(10)},
           out + L"\\integers.pdf",
           {"-7", "-5", "200", "60000", "123456", "4000000000", "9007199254740993", "1234567890123", "98765", "42",
            "!987650000"});

    Export({{L"Single", adSingle}, {L"Double", adDouble}, {L"Money", adCurrency, 8, 19, 4},
            {L"Dec", adDecimal, 0, 18, 3}, {L"Num", adNumeric, 0, 12, 2}, {L"VarNum", adVarNumeric, 0, 10, 1},
            {L"Flag", adBoolean}, {L"Flag2", adBoolean}},
           {{Real(VT_R4, 2.5), Real(VT_R8, 3.25), Money(19.99), Decimal(123456, 3), Decimal(123456, 2),
             Decimal(-75, 1), Bool(true), Bool(false)},
            Nulls(8)},
           out + L"\\numbers.pdf", {"2.5", "3.25", "19.99", "123.456", "1234.56", "-7.5", "True", "False"});

    Export({{L"Date", adDate}, {L"Stamp", adDBTimeStamp}, {L"DBDate", adDBDate}, {L"DBTime", adDBTime},
            {L"FileTime", adFileTime}, {L"DBFileTime", adDBFileTime}},
           {{Date(2024, 3, 5), Date(2024, 3, 5, 13, 45), Date(2023, 12, 31), Date(1899, 12, 30, 13, 45),
             Date(2001, 2, 3), Date(2002, 4, 6, 7, 8)},
            Nulls(6)},
           out + L"\\dates.pdf",
           {"3/5/2024", "3/5/2024 1:45:00 PM", "12/31/2023", "1:45:00 PM", "2/3/2001", "4/6/2002 7:08:00 AM"});

    // Bytes, variants and objects export without failing; unknown types and row ids stay out.
    Export({{L"Binary", adBinary, 4}, {L"VarBinary", adVarBinary, 8}, {L"LongBinary", adLongVarBinary, 0},
            {L"Variant", adVariant}, {L"Unknown", adIUnknown}, {L"Dispatch", adIDispatch},
            {L"Chapter", adChapter}, {L"UserType", adUserDefined}, {L"RowIdCol", adInteger, 0, 0, 0, adFldRowID},
            {L"After", adVarChar, 10}},
           {{Bytes("BIN1"), Bytes("VARBIN"), Bytes("LONGBIN"), Int(VT_I4, 77), Null(), Null(), Null(),
             TVar(L"SECRET1"), Int(VT_I4, 31337), TVar(L"Last")},
            Nulls(10)},
           out + L"\\others.pdf",
           {"Binary", "VarBinary", "LongBinary", "Variant", "77", "Unknown", "Dispatch", "Chapter", "After", "Last",
            "!UserType", "!SECRET1", "!RowIdCol", "!31337"});
}

// Left-aligned captions: each starts a column width after the one before.
void Widths(const std::wstring& out) {
    Export({{L"a", adVarChar, 30}, {L"b", adVarWChar, 12}, {L"c", adSmallInt}, {L"d", adInteger},
            {L"e", adBigInt}, {L"f", adDouble}, {L"g", adNumeric, 0, 12, 2}, {L"h", adCurrency, 8, 19, 4},
            {L"i", adNumeric, 0, 5, 0}, {L"j", adDate}, {L"k", adDBDate}, {L"l", adGUID, 16}, {L"m", adBoolean},
            {L"n", adVarWChar, 0}, {L"o", adVarChar, 5}},
           {{TVar(L"x"), TVar(L"x"), Int(VT_I2, 1), Int(VT_I4, 1), Int(VT_I8, 1), Real(VT_R8, 1), Decimal(1, 0),
             Money(1), Decimal(1, 0), Date(2000, 1, 1), Date(2000, 1, 1), TVar(L"{}"), Bool(true), TVar(L"x"),
             TVar(L"x")}},
           out + L"\\widths.pdf",
           {// declared sizes: text 30 and 12; integers by data size 2, 4, 8; float 8
            "@a:b=240", "@b:c=96", "@c:d=16", "@d:e=32", "@e:f=64", "@f:g=64",
            // BCD by scale (2, then 4); NUMERIC(5,0) is a 32-bit integer; date-time 8, date 4
            "@g:h=16", "@h:i=32", "@i:j=32", "@j:k=64", "@k:l=32",
            // GUID 38, Boolean 2; a wide text without a declared size by its data size 4
            "@l:m=304", "@m:n=16", "@n:o=32"},
           {TVar(L"FieldsAlignment"), TVar(L"L,L,L,L,L,L,L,L,L,L,L,L,L,L,L")});
}

void Names(const std::wstring& out) {
    Export({{L"RowId", adInteger, 0, 0, 0, adFldRowID}, {L"ID", adInteger}, {L"ID", adInteger}, {L"ID", adInteger},
            {L"", adVarChar, 10}, {L"Name", adVarChar, 10}},
           {{Int(VT_I4, 999001), Int(VT_I4, 1), Int(VT_I4, 2), Int(VT_I4, 3), TVar(L"nameless"), TVar(L"named")}},
           out + L"\\names.pdf", {"ID", "ID_1", "ID_2", "COLUMN5", "Name", "nameless", "named", "!RowId", "!999001"});
}

std::vector<std::vector<TVar>> FiveRows() {
    std::vector<std::vector<TVar>> rows;
    for (const wchar_t* key : {L"Row-1", L"Row-2", L"Row-3", L"Row-4", L"Row-5"}) rows.push_back({TVar(key)});
    return rows;
}

TRecordsetDouble* Keys(TRecordsetOptions options = {}) {
    return CreateRecordset({{L"Key", adVarChar, 10}}, FiveRows(), options);
}

void Cursor(const std::wstring& out) {
    // Scrollable with bookmarks: all rows from MoveFirst, then back to the bookmark taken
    // when the run began, on the first record.
    TRecordsetDouble* scrollable = Keys();
    SetPosition(scrollable, 2);
    CHECK_EQ(Save(scrollable, out + L"\\scrollable.pdf").Result, 0l);
    CHECK_EQ(Position(scrollable), 0);
    CHECK_EQ(Counts(scrollable).BookmarkPut, 1);
    CHECK_EQ(Counts(scrollable).MovePrevious, 0);
    CHECK_EQ(Counts(scrollable).Close, 0);
    ReportPdf(out + L"\\scrollable.pdf", {"Row-1", "Row-3", "Row-5"});
    // The same recordset again: the caller's recordset stays usable.
    CHECK_EQ(Save(scrollable, out + L"\\again.pdf", {}, 3).Result, 0l);
    ReportPdf(out + L"\\again.pdf", {"Row-1", "Row-3", "!Row-4"});
    AsDispatch(scrollable)->Release();

    // A recordset that cannot answer Supports (as Wine's ADO) still starts at its first
    // record, and keeps no bookmark. A forward-only one refuses MoveFirst: from the current
    // record on, never moved backwards.
    TRecordsetOptions unknown;
    unknown.SupportsFails = true;
    TRecordsetOptions forward;
    forward.Scrollable = false;
    forward.Bookmarks = false;
    for (TRecordsetOptions options : {unknown, forward}) {
        TRecordsetDouble* recordset = Keys(options);
        SetPosition(recordset, 1);
        const std::wstring file = out + (options.SupportsFails ? L"\\unknown.pdf" : L"\\forward.pdf");
        CHECK_EQ(Save(recordset, file).Result, 0l);
        CHECK_EQ(Counts(recordset).MoveFirst, 1);
        CHECK_EQ(Counts(recordset).MovePrevious, 0);
        CHECK_EQ(Counts(recordset).BookmarkPut, 0);
        if (options.SupportsFails) ReportPdf(file, {"Row-1", "Row-2", "Row-5"});
        else ReportPdf(file, {"Row-2", "Row-5", "!Row-1"});
        AsDispatch(recordset)->Release();
    }

    // Empty: captions only, and MoveFirst is not called on it.
    TRecordsetDouble* empty = CreateRecordset({{L"OnlyCaption", adVarChar, 10}}, {});
    CHECK_EQ(Save(empty, out + L"\\empty.pdf").Result, 0l);
    CHECK_EQ(Counts(empty).MoveFirst, 0);
    ReportPdf(out + L"\\empty.pdf", {"OnlyCaption"});
    AsDispatch(empty)->Release();

    // Closed: the call fails and writes nothing.
    TRecordsetOptions closedOptions;
    closedOptions.Open = false;
    TRecordsetDouble* closed = Keys(closedOptions);
    TRun run = Save(closed, out + L"\\closed.pdf");
    CHECK_EQ(run.Hr, DISP_E_EXCEPTION);
    CHECK_EQ(Narrow(run.Description), "Recordset is not open");
    CHECK(GetFileAttributesW((out + L"\\closed.pdf").c_str()) == INVALID_FILE_ATTRIBUTES);
    AsDispatch(closed)->Release();

    // A value the provider cannot read fails the run inside Execute: no script error, but
    // Result -1 and no file, whose first rows and footer would make it look complete.
    TRecordsetOptions failing;
    failing.FailingRow = 2;
    TRecordsetDouble* broken = Keys(failing);
    run = Save(broken, out + L"\\broken.pdf");
    CHECK_EQ(run.Hr, S_OK);
    CHECK_EQ(run.Result, -1l);
    CHECK(GetFileAttributesW((out + L"\\broken.pdf").c_str()) == INVALID_FILE_ATTRIBUTES);
    AsDispatch(broken)->Release();

    // RS by reference, as VBScript and ASP pass variables.
    TRecordsetDouble* referenced = Keys();
    IDispatch* object = CreateMarrowlintide();
    if (object != nullptr) {
        TVar rs(AsDispatch(referenced));
        IDispatch* pointer = AsDispatch(referenced);
        TVar dispatchRef;
        V_VT(&dispatchRef.V) = VT_DISPATCH | VT_BYREF;
        V_DISPATCHREF(&dispatchRef.V) = &pointer;
        const std::wstring viaVariant = out + L"\\byref-variant.pdf", viaDispatch = out + L"\\byref-dispatch.pdf";
        CHECK_EQ(Method(object, L"SaveToFile", {ByRef(rs), TVar(viaVariant.c_str())}).Hr, S_OK);
        CHECK_EQ(Method(object, L"SaveToFile", {dispatchRef, TVar(viaDispatch.c_str())}).Hr, S_OK);
        V_VT(&dispatchRef.V) = VT_EMPTY;  // the reference owns nothing
        ReportPdf(viaVariant, {"Row-1", "Row-5"});
        ReportPdf(viaDispatch, {"Row-1", "Row-5"});
        object->Release();
    }
    AsDispatch(referenced)->Release();
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 4) return 2;
    const std::wstring group = argv[1], out = argv[3];
    TComApartment apartment;
    if (group == L"kinds")
        Kinds(out);
    else if (group == L"widths")
        Widths(out);
    else if (group == L"names")
        Names(out);
    else if (group == L"cursor")
        Cursor(out);
    else
        Fail("unknown group");
    return End(Narrow(group).c_str());
}
