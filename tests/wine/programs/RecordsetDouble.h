// A test double of an ADO Recordset, written from ADO's published interface: it answers
// QueryInterface for IDispatch, Recordset21 {00000555-...} and _Recordset {00000556-...},
// and serves through IDispatch, by name and with ADO's DISPIDs, the members a client
// reads: State, BOF, EOF, Fields, RecordCount, MoveFirst, MoveNext, MovePrevious, Close,
// Supports, Bookmark; Fields.Count and Item; Field.Name, Type, DefinedSize, Precision,
// NumericScale, Attributes and Value. It counts the moves and closes it is asked for.
#pragma once

#include <windows.h>
#include <oleauto.h>

#include <string>
#include <vector>

#include "TestSupport.h"

namespace test {

struct TColumnSpec {
    std::wstring Name;
    long Type = 200;  // adVarChar
    long DefinedSize = 20;
    int Precision = 0;
    int NumericScale = 0;
    long Attributes = 0;
};

struct TRecordsetOptions {
    bool Open = true;
    bool Scrollable = true;   // Supports(adMovePrevious); MoveFirst fails otherwise
    bool Bookmarks = true;    // Supports(adBookmark)
    bool SupportsFails = false;  // Supports raises, as in Wine's ADO
    int FailingRow = -1;      // reading a Value on this row raises "Row cannot be read"
};

struct TRecordsetCounts {
    int MoveFirst = 0, MovePrevious = 0, Close = 0, BookmarkPut = 0;
};

class TRecordsetDouble;

// Makes a double; the caller owns one reference.
TRecordsetDouble* CreateRecordset(std::vector<TColumnSpec> columns, std::vector<std::vector<TVar>> rows,
                                  TRecordsetOptions options = {});
IDispatch* AsDispatch(TRecordsetDouble* recordset);
const TRecordsetCounts& Counts(TRecordsetDouble* recordset);
// The current record (0-based; the row count at EOF), and a move there without counting.
int Position(TRecordsetDouble* recordset);
void SetPosition(TRecordsetDouble* recordset, int position);

// Value helpers for rows.
TVar Null();
TVar Int(VARTYPE type, LONGLONG value);
TVar Real(VARTYPE type, double value);
TVar Money(double amount);
TVar Decimal(LONGLONG unscaled, BYTE scale);
TVar Date(int year, int month, int day, int hour = 0, int minute = 0);
TVar Bool(bool value);
TVar Bytes(const char* data);

}  // namespace test
