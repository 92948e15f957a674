// TAdoRecordSource: a TRecordSource over a caller's ADO Recordset, reached through its
// Automation members by name (State, Fields, BOF, EOF, MoveFirst, MoveNext, Supports,
// Bookmark, RecordCount; Fields.Count and Item; Field.Name, Type, DefinedSize,
// Precision, NumericScale, Attributes and Value), so that any provider's recordset will do.
// Columns() reads the fields once and keeps them; ReadRow reads the Value of every column
// that gets a dataset field. Values keep their kind: text as 8-bit text (UTF-16 for the
// wide kinds), DATE, CY and DECIMAL as dates, money and BCD (an integer column gets
// integers), byte arrays as blobs; an object reads as null. The recordset is never
// closed, only released.
// Position: the walk starts with MoveFirst, unless the recordset is empty (BOF and EOF at
// once); a forward-only cursor that refuses MoveFirst is walked from its current record.
// Bookmarks are offered when the recordset says it supports them (Supports); one that
// cannot answer is taken to have none. A failing member raises EOleError with the
// provider's description.
#pragma once

#include <oaidl.h>

#include <optional>
#include <vector>

#include "component/ComSupport_win32.h"
#include "data/FieldType.h"
#include "data/RecordSource.h"

namespace mlt {

// An owned VARIANT.
struct TOleVariant {
    TOleVariant() { VariantInit(&Value); }
    TOleVariant(TOleVariant&& other) noexcept : Value(other.Value) { VariantInit(&other.Value); }
    TOleVariant& operator=(const TOleVariant&) = delete;
    ~TOleVariant() { VariantClear(&Value); }
    VARIANT Value;
};

// An Automation object called by member name through IDispatch.
class TAutomationObject {
public:
    explicit TAutomationObject(TComPtr<IDispatch> object) : object_(std::move(object)) {}

    DISPID Id(const wchar_t* name) const;
    TOleVariant Get(DISPID id) const { return Invoke(id, DISPATCH_PROPERTYGET, {}); }
    TOleVariant Get(DISPID id, VARIANT argument) const;
    void Put(DISPID id, const VARIANT& value) const;
    void Call(DISPID id) const { Invoke(id, DISPATCH_METHOD, {}); }

private:
    // Raises EOleError with the object's exception description when the call fails.
    TOleVariant Invoke(DISPID id, WORD flags, DISPPARAMS params) const;

    TComPtr<IDispatch> object_;
};

class TAdoRecordSource : public TRecordSource {
public:
    // Fails with "Recordset is not open" unless the recordset's State has the open bit.
    explicit TAdoRecordSource(IDispatch* recordset);

    std::vector<TColumnDescriptor> Columns() override;
    void First() override;
    void Next() override;
    bool Eof() override;
    int RecordCount() override;
    void ReadRow(std::vector<Variant>& values) override;
    bool SupportsBookmarks() override { return supportsBookmarks_; }
    std::string Bookmark() override;
    void GotoBookmark(const std::string& bookmark) override;

private:
    struct TAdoColumn {
        TAutomationObject Field;
        DISPID Value;
        std::optional<TFieldType> Kind;  // none: the column gets no dataset field and is not read
    };

    bool Flag(DISPID id) const;
    bool Supports(long option) const;
    TColumnDescriptor Describe(const TAutomationObject& field) const;

    TAutomationObject recordset_;
    DISPID bofId_, eofId_, moveFirstId_, moveNextId_, bookmarkId_, recordCountId_, fieldsId_;
    bool supportsBookmarks_ = false;
    bool atFirst_ = false;
    bool eofKnown_ = false;
    bool eof_ = false;
    std::vector<TAdoColumn> columns_;
    std::vector<TOleVariant> bookmarks_;
};

}  // namespace mlt
