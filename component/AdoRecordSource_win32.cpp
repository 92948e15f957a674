#include "component/AdoRecordSource_win32.h"

#include <limits>

#include "data/ADODataSet.h"
#include "rtl/CodePage.h"
#include "rtl/TextUtils.h"

namespace mlt {

namespace {

constexpr long adStateOpen = 1;
constexpr long adBookmark = 0x2000;

VARIANT LongVariant(long value) {
    VARIANT v;
    V_VT(&v) = VT_I4;
    V_I4(&v) = value;
    return v;
}

std::int64_t ToInteger(const VARIANT& value) {
    VARIANT converted;
    VariantInit(&converted);
    OleCheck(VariantChangeType(&converted, const_cast<VARIANT*>(&value), 0, VT_I8));
    return V_I8(&converted);
}

std::string ToText(const VARIANT& value) {
    TOleVariant converted;
    OleCheck(VariantChangeType(&converted.Value, const_cast<VARIANT*>(&value), 0, VT_BSTR));
    return BstrToAnsi(V_BSTR(&converted.Value));
}

// Precision and scale decide only the numeric kinds; other providers' fields may lack them.
bool HasScale(int type) { return type == adNumeric || type == adDecimal || type == adVarNumeric || type == adCurrency; }

Variant FromBytes(SAFEARRAY* array) {
    if (array == nullptr || SafeArrayGetDim(array) != 1) return Variant::Blob({});
    LONG lower = 0, upper = -1;
    SafeArrayGetLBound(array, 1, &lower);
    SafeArrayGetUBound(array, 1, &upper);
    void* data = nullptr;
    OleCheck(SafeArrayAccessData(array, &data));
    std::string bytes(static_cast<const char*>(data), static_cast<std::size_t>(upper - lower + 1));
    SafeArrayUnaccessData(array);
    return Variant::Blob(std::move(bytes));
}

Variant FromDecimal(const DECIMAL& value) {
    CY amount;
    if (SUCCEEDED(VarCyFromDec(const_cast<DECIMAL*>(&value), &amount))) return Variant::BCD(amount.int64);
    double wide = 0;  // beyond the BCD range: keep the magnitude
    OleCheck(VarR8FromDec(const_cast<DECIMAL*>(&value), &wide));
    return Variant::Double(wide);
}

Variant FromUnsigned64(ULONGLONG value) {
    if (value > static_cast<ULONGLONG>(std::numeric_limits<std::int64_t>::max()))
        return Variant::Double(static_cast<double>(value));
    return Variant::Int64(static_cast<std::int64_t>(value));
}

bool IsIntegerKind(TFieldType kind) {
    return kind == ftSmallint || kind == ftInteger || kind == ftWord || kind == ftLargeint;
}

Variant FromOle(const VARIANT& value, TFieldType kind) {
    // An integer column of a provider may deliver decimals or money (NUMERIC(9,0)).
    if (IsIntegerKind(kind) && (V_VT(&value) == VT_DECIMAL || V_VT(&value) == VT_CY))
        return Variant::Int64(ToInteger(value));
    switch (V_VT(&value)) {
        case VT_EMPTY: return Variant();
        case VT_NULL: return Variant::Null();
        case VT_BOOL: return Variant::Boolean(V_BOOL(&value) != VARIANT_FALSE);
        case VT_I1: return Variant::SmallInt(V_I1(&value));
        case VT_UI1: return Variant::SmallInt(V_UI1(&value));
        case VT_I2: return Variant::SmallInt(V_I2(&value));
        case VT_UI2: return Variant::Integer(V_UI2(&value));
        case VT_I4: return Variant::Integer(V_I4(&value));
        case VT_INT: return Variant::Integer(V_INT(&value));
        case VT_ERROR: return Variant::Integer(V_ERROR(&value));
        case VT_UI4: return Variant::Int64(V_UI4(&value));
        case VT_UINT: return Variant::Int64(V_UINT(&value));
        case VT_I8: return Variant::Int64(V_I8(&value));
        case VT_UI8: return FromUnsigned64(V_UI8(&value));
        case VT_R4: return Variant::Double(V_R4(&value));
        case VT_R8: return Variant::Double(V_R8(&value));
        case VT_CY: return Variant::CurrencyValue(V_CY(&value).int64);
        case VT_DECIMAL: return FromDecimal(V_DECIMAL(&value));
        case VT_DATE: return Variant::Date(V_DATE(&value));
        case VT_BSTR: {
            BSTR text = V_BSTR(&value);
            if (kind != ftWideString) return Variant::String(BstrToAnsi(text));
            const auto* chars = reinterpret_cast<const char16_t*>(text);
            return Variant::WideString(text == nullptr ? std::u16string() : std::u16string(chars, SysStringLen(text)));
        }
        case VT_ARRAY | VT_UI1: return FromBytes(V_ARRAY(&value));
        case VT_DISPATCH: case VT_UNKNOWN: return Variant::Null();  // an object has no text
        default: return Variant::String(ToText(value));
    }
}

}  // namespace

DISPID TAutomationObject::Id(const wchar_t* name) const {
    DISPID id = DISPID_UNKNOWN;
    auto* names = const_cast<LPOLESTR>(name);
    HRESULT hr = IDispatch_GetIDsOfNames(object_.Get(), IID_NULL, &names, 1, LOCALE_USER_DEFAULT, &id);
    if (FAILED(hr))
        throw EOleError(hr, "Member not found: " + WideToAnsi(reinterpret_cast<const char16_t*>(name)));
    return id;
}

TOleVariant TAutomationObject::Get(DISPID id, VARIANT argument) const {
    return Invoke(id, DISPATCH_PROPERTYGET | DISPATCH_METHOD, {&argument, nullptr, 1, 0});
}

void TAutomationObject::Put(DISPID id, const VARIANT& value) const {
    DISPID named = DISPID_PROPERTYPUT;
    VARIANT argument = value;
    Invoke(id, DISPATCH_PROPERTYPUT, {&argument, &named, 1, 1});
}

TOleVariant TAutomationObject::Invoke(DISPID id, WORD flags, DISPPARAMS params) const {
    TOleVariant result;
    EXCEPINFO exception = {};
    UINT argError = 0;
    VARIANT* resultValue = flags == DISPATCH_PROPERTYPUT ? nullptr : &result.Value;
    HRESULT hr = IDispatch_Invoke(object_.Get(), id, IID_NULL, LOCALE_USER_DEFAULT, flags, &params, resultValue,
                                  &exception, &argError);
    if (hr != DISP_E_EXCEPTION) {
        OleCheck(hr);
        return result;
    }
    if (exception.pfnDeferredFillIn != nullptr) exception.pfnDeferredFillIn(&exception);
    HRESULT code = FAILED(exception.scode) ? exception.scode : E_FAIL;
    std::string message = BstrToAnsi(exception.bstrDescription);
    SysFreeString(exception.bstrSource);
    SysFreeString(exception.bstrDescription);
    SysFreeString(exception.bstrHelpFile);
    throw EOleError(code, message.empty() ? OleErrorText(code) : message);
}

TAdoRecordSource::TAdoRecordSource(IDispatch* recordset) : recordset_(TComPtr<IDispatch>::Share(recordset)) {
    if ((ToInteger(recordset_.Get(recordset_.Id(L"State")).Value) & adStateOpen) == 0)
        throw EDatabaseError("Recordset is not open");
    bofId_ = recordset_.Id(L"BOF");
    eofId_ = recordset_.Id(L"EOF");
    moveFirstId_ = recordset_.Id(L"MoveFirst");
    moveNextId_ = recordset_.Id(L"MoveNext");
    recordCountId_ = recordset_.Id(L"RecordCount");
    fieldsId_ = recordset_.Id(L"Fields");
    supportsBookmarks_ = Supports(adBookmark);
    if (supportsBookmarks_) bookmarkId_ = recordset_.Id(L"Bookmark");
}

bool TAdoRecordSource::Flag(DISPID id) const {
    TOleVariant value = recordset_.Get(id);
    return ToInteger(value.Value) != 0;
}

// A recordset that cannot tell is taken to support nothing: it is never moved backwards.
bool TAdoRecordSource::Supports(long option) const {
    try {
        return ToInteger(recordset_.Get(recordset_.Id(L"Supports"), LongVariant(option)).Value) != 0;
    } catch (const EOleError&) {
        return false;
    }
}

TColumnDescriptor TAdoRecordSource::Describe(const TAutomationObject& field) const {
    TColumnDescriptor column;
    column.Name = ToText(field.Get(field.Id(L"Name")).Value);
    column.Type = static_cast<int>(ToInteger(field.Get(field.Id(L"Type")).Value));
    column.DefinedSize = ToInteger(field.Get(field.Id(L"DefinedSize")).Value);
    column.Attributes = static_cast<int>(ToInteger(field.Get(field.Id(L"Attributes")).Value));
    if (HasScale(column.Type)) {
        column.Precision = static_cast<int>(ToInteger(field.Get(field.Id(L"Precision")).Value));
        column.NumericScale = static_cast<int>(ToInteger(field.Get(field.Id(L"NumericScale")).Value));
    }
    return column;
}

std::vector<TColumnDescriptor> TAdoRecordSource::Columns() {
    TOleVariant fieldsValue = recordset_.Get(fieldsId_);
    if (V_VT(&fieldsValue.Value) != VT_DISPATCH || V_DISPATCH(&fieldsValue.Value) == nullptr)
        throw EOleError(E_UNEXPECTED, "The recordset has no Fields collection");
    TAutomationObject fields(TComPtr<IDispatch>::Share(V_DISPATCH(&fieldsValue.Value)));
    const auto count = static_cast<long>(ToInteger(fields.Get(fields.Id(L"Count")).Value));
    const DISPID itemId = fields.Id(L"Item");
    std::vector<TColumnDescriptor> descriptors;
    columns_.clear();
    for (long i = 0; i < count; ++i) {
        TOleVariant item = fields.Get(itemId, LongVariant(i));
        if (V_VT(&item.Value) != VT_DISPATCH || V_DISPATCH(&item.Value) == nullptr)
            throw EOleError(E_UNEXPECTED, "The recordset has no field " + IntToStr(i));
        TAutomationObject field(TComPtr<IDispatch>::Share(V_DISPATCH(&item.Value)));
        TColumnDescriptor column = Describe(field);
        std::optional<TFieldType> kind;
        if ((column.Attributes & adFldRowID) == 0)
            if (std::optional<TAdoFieldDef> def = AdoFieldDef(column)) kind = def->Kind;
        const DISPID valueId = kind ? field.Id(L"Value") : DISPID_UNKNOWN;
        columns_.push_back(TAdoColumn{std::move(field), valueId, kind});
        descriptors.push_back(std::move(column));
    }
    return descriptors;
}

void TAdoRecordSource::First() {
    if (atFirst_) return;
    // MoveFirst fails on an empty recordset, which has no first record to go to anyway.
    // A forward-only cursor refuses it too: the walk then goes on from the current record
    // rather than failing the report, since those records are all such a cursor can give.
    if (!(Flag(bofId_) && Flag(eofId_))) {
        try {
            recordset_.Call(moveFirstId_);
        } catch (const EOleError&) {
        }
    }
    atFirst_ = true;
    eofKnown_ = false;
}

void TAdoRecordSource::Next() {
    recordset_.Call(moveNextId_);
    atFirst_ = false;
    eofKnown_ = false;
}

bool TAdoRecordSource::Eof() {
    if (!eofKnown_) {
        eof_ = Flag(eofId_);
        eofKnown_ = true;
    }
    return eof_;
}

int TAdoRecordSource::RecordCount() {
    std::int64_t count = ToInteger(recordset_.Get(recordCountId_).Value);
    return count < 0 || count > std::numeric_limits<int>::max() ? -1 : static_cast<int>(count);
}

void TAdoRecordSource::ReadRow(std::vector<Variant>& values) {
    for (std::size_t i = 0; i < columns_.size() && i < values.size(); ++i) {
        const TAdoColumn& column = columns_[i];
        if (!column.Kind) {
            values[i] = Variant();
            continue;
        }
        TOleVariant value = column.Field.Get(column.Value);
        if (V_VT(&value.Value) & VT_BYREF) OleCheck(VariantCopyInd(&value.Value, &value.Value));
        values[i] = FromOle(value.Value, *column.Kind);
    }
}

std::string TAdoRecordSource::Bookmark() {
    bookmarks_.push_back(recordset_.Get(bookmarkId_));
    return IntToStr(static_cast<std::int64_t>(bookmarks_.size()) - 1);
}

void TAdoRecordSource::GotoBookmark(const std::string& bookmark) {
    std::optional<std::int32_t> index = TryStrToInt(bookmark);
    if (!index || *index < 0 || static_cast<std::size_t>(*index) >= bookmarks_.size())
        throw EDatabaseError("Bookmark not found");
    recordset_.Put(bookmarkId_, bookmarks_[static_cast<std::size_t>(*index)].Value);
    atFirst_ = false;
    eofKnown_ = false;
}

}  // namespace mlt
