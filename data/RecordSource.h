// TRecordSource: where a TADODataSet gets its rows. A source describes its columns once,
// in ADO terms, then walks forward through records and hands out each record's values.
// First() restarts the walk from the first record (a source may re-run its query).
// Bookmarks are opaque texts of the source's making; a source that cannot go back to a
// position says so with SupportsBookmarks() and never gets GotoBookmark.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "rtl/Variant.h"

namespace mlt {

// ADO DataTypeEnum values.
enum TAdoDataType {
    adEmpty = 0, adSmallInt = 2, adInteger = 3, adSingle = 4, adDouble = 5, adCurrency = 6, adDate = 7, adBSTR = 8,
    adIDispatch = 9, adError = 10, adBoolean = 11, adVariant = 12, adIUnknown = 13, adDecimal = 14, adTinyInt = 16,
    adUnsignedTinyInt = 17, adUnsignedSmallInt = 18, adUnsignedInt = 19, adBigInt = 20, adUnsignedBigInt = 21,
    adFileTime = 64, adGUID = 72, adBinary = 128, adChar = 129, adWChar = 130, adNumeric = 131, adUserDefined = 132,
    adDBDate = 133, adDBTime = 134, adDBTimeStamp = 135, adChapter = 136, adDBFileTime = 137, adPropVariant = 138,
    adVarNumeric = 139, adVarChar = 200, adLongVarChar = 201, adVarWChar = 202, adLongVarWChar = 203,
    adVarBinary = 204, adLongVarBinary = 205
};

constexpr int adFldRowID = 0x100;

struct TColumnDescriptor {
    std::string Name;  // 8-bit, in the system code page
    int Type = adEmpty;
    std::int64_t DefinedSize = 0;
    int Precision = 0;
    int NumericScale = 0;
    int Attributes = 0;
    // A long binary column that holds pictures: it becomes a graphic blob field.
    bool Graphic = false;
};

class TRecordSource {
public:
    virtual ~TRecordSource() = default;

    virtual std::vector<TColumnDescriptor> Columns() = 0;

    virtual void First() = 0;
    virtual void Next() = 0;
    virtual bool Eof() = 0;
    // Number of records, or -1 when the source cannot tell.
    virtual int RecordCount() = 0;
    // The current record's values, one per column of Columns(), in that order.
    virtual void ReadRow(std::vector<Variant>& values) = 0;

    virtual bool SupportsBookmarks() { return false; }
    virtual std::string Bookmark() { return {}; }
    virtual void GotoBookmark(const std::string& bookmark) { (void)bookmark; }
};

}  // namespace mlt
