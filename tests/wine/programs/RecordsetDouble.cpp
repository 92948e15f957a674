#include "RecordsetDouble.h"

#include <cstring>
#include <cwchar>
#include <utility>

namespace test {

namespace {

const IID IID_Recordset21 = {0x00000555, 0x0000, 0x0010, {0x80, 0x00, 0x00, 0xAA, 0x00, 0x6D, 0x2E, 0xA4}};
const IID IID__Recordset = {0x00000556, 0x0000, 0x0010, {0x80, 0x00, 0x00, 0xAA, 0x00, 0x6D, 0x2E, 0xA4}};

// ADO's DISPIDs.
enum : DISPID {
    idValue = 0, idFields = 0, idItem = 0,
    idBOF = 0x3ea, idBookmark = 0x3eb, idEOF = 0x3ee, idRecordCount = 0x3f2, idClose = 0x3f6,
    idMoveNext = 0x3fa, idMovePrevious = 0x3fb, idMoveFirst = 0x3fc, idSupports = 0x40c, idState = 0x41e,
    idCount = 0x60020000,
    idAttributes = 0x40c, idName = 0x44c, idType = 0x44e, idDefinedSize = 0x44f,
    idPrecision = 0x60030007, idNumericScale = 0x60030008
};

struct TMember {
    const wchar_t* Name;
    DISPID Id;
};

HRESULT Raise(EXCEPINFO* info, HRESULT code, const wchar_t* description) {
    if (info != nullptr) {
        *info = {};
        info->scode = code;
        info->bstrSource = SysAllocString(L"RecordsetDouble");
        info->bstrDescription = SysAllocString(description);
    }
    return DISP_E_EXCEPTION;
}

HRESULT Return(VARIANT* result, const TVar& value) {
    return result != nullptr ? VariantCopy(result, const_cast<VARIANT*>(&value.V)) : S_OK;
}

// IUnknown and IDispatch by a table of names; subclasses serve the members.
class TDispatchObject : public IDispatch {
public:
    virtual ~TDispatchObject() = default;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDispatch) || Answers(iid)) {
            *object = static_cast<IDispatch*>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return InterlockedIncrement(&ref_); }
    ULONG STDMETHODCALLTYPE Release() override {
        LONG ref = InterlockedDecrement(&ref_);
        if (ref == 0) delete this;
        return ref;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) override {
        HRESULT hr = S_OK;
        for (UINT i = 0; i < count; ++i) {
            ids[i] = DISPID_UNKNOWN;
            for (const TMember& member : Members())
                if (_wcsicmp(member.Name, names[i]) == 0) ids[i] = member.Id;
            if (ids[i] == DISPID_UNKNOWN) hr = DISP_E_UNKNOWNNAME;
        }
        return hr;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                                     EXCEPINFO* info, UINT*) override {
        if (result != nullptr) VariantInit(result);
        return Serve(id, flags, params, result, info);
    }

protected:
    virtual bool Answers(REFIID) { return false; }
    virtual std::vector<TMember> Members() = 0;
    virtual HRESULT Serve(DISPID id, WORD flags, DISPPARAMS* params, VARIANT* result, EXCEPINFO* info) = 0;

    static const VARIANT* Argument(DISPPARAMS* params, UINT index) {
        if (params == nullptr || index >= params->cArgs) return nullptr;
        const VARIANT* arg = &params->rgvarg[params->cArgs - 1 - index];
        return V_VT(arg) == (VT_VARIANT | VT_BYREF) ? V_VARIANTREF(arg) : arg;
    }

private:
    LONG ref_ = 1;
};

}  // namespace

class TRecordsetDouble : public TDispatchObject {
public:
    TRecordsetDouble(std::vector<TColumnSpec> columns, std::vector<std::vector<TVar>> rows, TRecordsetOptions options)
        : Columns(std::move(columns)), Rows(std::move(rows)), Options(options) {}

    bool AtEnd() const { return Pos < 0 || Pos >= static_cast<int>(Rows.size()); }

    std::vector<TColumnSpec> Columns;
    std::vector<std::vector<TVar>> Rows;
    TRecordsetOptions Options;
    TRecordsetCounts CallCounts;
    int Pos = 0;

protected:
    bool Answers(REFIID iid) override { return IsEqualIID(iid, IID_Recordset21) || IsEqualIID(iid, IID__Recordset); }
    std::vector<TMember> Members() override {
        return {{L"BOF", idBOF}, {L"Bookmark", idBookmark}, {L"EOF", idEOF}, {L"Fields", idFields},
                {L"RecordCount", idRecordCount}, {L"Close", idClose}, {L"MoveNext", idMoveNext},
                {L"MovePrevious", idMovePrevious}, {L"MoveFirst", idMoveFirst}, {L"Supports", idSupports},
                {L"State", idState}};
    }
    HRESULT Serve(DISPID id, WORD flags, DISPPARAMS* params, VARIANT* result, EXCEPINFO* info) override;
};

namespace {

class TFieldDouble : public TDispatchObject {
public:
    TFieldDouble(TRecordsetDouble* owner, std::size_t index) : owner_(owner), index_(index) { owner_->AddRef(); }
    ~TFieldDouble() override { owner_->Release(); }

protected:
    std::vector<TMember> Members() override {
        return {{L"Value", idValue}, {L"Attributes", idAttributes}, {L"Name", idName}, {L"Type", idType},
                {L"DefinedSize", idDefinedSize}, {L"Precision", idPrecision}, {L"NumericScale", idNumericScale}};
    }
    HRESULT Serve(DISPID id, WORD, DISPPARAMS*, VARIANT* result, EXCEPINFO* info) override {
        const TColumnSpec& column = owner_->Columns[index_];
        switch (id) {
            case idName: return Return(result, TVar(column.Name.c_str()));
            case idType: return Return(result, TVar(column.Type));
            case idDefinedSize: return Return(result, TVar(column.DefinedSize));
            case idAttributes: return Return(result, TVar(column.Attributes));
            case idPrecision: return Return(result, Int(VT_UI1, column.Precision));
            case idNumericScale: return Return(result, Int(VT_UI1, column.NumericScale));
            case idValue:
                if (owner_->AtEnd()) return Raise(info, 0x800A0BCD, L"Either BOF or EOF is True");
                if (owner_->Pos == owner_->Options.FailingRow) return Raise(info, E_FAIL, L"Row cannot be read");
                return Return(result, owner_->Rows[static_cast<std::size_t>(owner_->Pos)][index_]);
            default: return DISP_E_MEMBERNOTFOUND;
        }
    }

private:
    TRecordsetDouble* owner_;
    std::size_t index_;
};

class TFieldsDouble : public TDispatchObject {
public:
    explicit TFieldsDouble(TRecordsetDouble* owner) : owner_(owner) { owner_->AddRef(); }
    ~TFieldsDouble() override { owner_->Release(); }

protected:
    std::vector<TMember> Members() override { return {{L"Count", idCount}, {L"Item", idItem}}; }
    HRESULT Serve(DISPID id, WORD, DISPPARAMS* params, VARIANT* result, EXCEPINFO* info) override {
        if (id == idCount) return Return(result, TVar(static_cast<long>(owner_->Columns.size())));
        if (id != idItem) return DISP_E_MEMBERNOTFOUND;
        const VARIANT* index = Argument(params, 0);
        if (index == nullptr) return DISP_E_PARAMNOTOPTIONAL;
        TVar number;
        if (FAILED(VariantChangeType(&number.V, const_cast<VARIANT*>(index), 0, VT_I4)) || V_I4(&number.V) < 0 ||
            V_I4(&number.V) >= static_cast<long>(owner_->Columns.size()))
            return Raise(info, 0x800A0CC1, L"Item cannot be found");
        auto* field = new TFieldDouble(owner_, static_cast<std::size_t>(V_I4(&number.V)));
        TVar value(static_cast<IDispatch*>(field));
        field->Release();
        return Return(result, value);
    }

private:
    TRecordsetDouble* owner_;
};

}  // namespace

HRESULT TRecordsetDouble::Serve(DISPID id, WORD flags, DISPPARAMS* params, VARIANT* result, EXCEPINFO* info) {
    const auto count = static_cast<int>(Rows.size());
    switch (id) {
        case idState: return Return(result, TVar(Options.Open ? 1L : 0L));
        case idBOF: return Return(result, Bool(Pos < 0 || count == 0));
        case idEOF: return Return(result, Bool(Pos >= count));
        case idRecordCount: return Return(result, TVar(Options.Scrollable ? static_cast<long>(count) : -1L));
        case idClose:
            ++CallCounts.Close;
            Options.Open = false;
            return S_OK;
        case idMoveNext:
            if (Pos >= count) return Raise(info, 0x800A0BCD, L"Either BOF or EOF is True");
            ++Pos;
            return S_OK;
        case idMovePrevious:
        case idMoveFirst:
            ++(id == idMoveFirst ? CallCounts.MoveFirst : CallCounts.MovePrevious);
            if (!Options.Scrollable) return Raise(info, E_FAIL, L"Rowset does not support fetching backward");
            if (count == 0) return Raise(info, 0x800A0BCD, L"Either BOF or EOF is True");
            Pos = id == idMoveFirst ? 0 : Pos - 1;
            return S_OK;
        case idSupports: {
            if (Options.SupportsFails) return Raise(info, E_NOTIMPL, L"Not implemented");
            const VARIANT* option = Argument(params, 0);
            long value = option != nullptr ? TVar(*option).AsLong() : 0;
            bool yes = (value == 0x200 && Options.Scrollable) || (value == 0x2000 && Options.Bookmarks);
            return Return(result, Bool(yes));
        }
        case idBookmark:
            if (!Options.Bookmarks) return Raise(info, E_FAIL, L"Bookmarks not supported");
            if (flags & DISPATCH_PROPERTYPUT) {
                const VARIANT* mark = Argument(params, 0);
                if (mark == nullptr) return DISP_E_PARAMNOTOPTIONAL;
                ++CallCounts.BookmarkPut;
                Pos = static_cast<int>(TVar(*mark).AsLong()) - 1000;
                return S_OK;
            }
            return Return(result, Real(VT_R8, Pos + 1000));
        case idFields: {
            auto* fields = new TFieldsDouble(this);
            TVar value(static_cast<IDispatch*>(fields));
            fields->Release();
            return Return(result, value);
        }
        default: return DISP_E_MEMBERNOTFOUND;
    }
}

namespace {

TVar Make(VARTYPE type) {
    TVar v;
    V_VT(&v.V) = type;
    return v;
}

}  // namespace

TRecordsetDouble* CreateRecordset(std::vector<TColumnSpec> columns, std::vector<std::vector<TVar>> rows,
                                  TRecordsetOptions options) {
    return new TRecordsetDouble(std::move(columns), std::move(rows), options);
}

IDispatch* AsDispatch(TRecordsetDouble* recordset) { return recordset; }
const TRecordsetCounts& Counts(TRecordsetDouble* recordset) { return recordset->CallCounts; }
int Position(TRecordsetDouble* recordset) { return recordset->Pos; }
void SetPosition(TRecordsetDouble* recordset, int position) { recordset->Pos = position; }

TVar Null() { return Make(VT_NULL); }

TVar Int(VARTYPE type, LONGLONG value) {
    TVar v = Make(VT_I8);
    V_I8(&v.V) = value;
    if (type != VT_I8) VariantChangeType(&v.V, &v.V, 0, type);
    return v;
}

TVar Real(VARTYPE type, double value) {
    TVar v = Make(VT_R8);
    V_R8(&v.V) = value;
    if (type != VT_R8) VariantChangeType(&v.V, &v.V, 0, type);
    return v;
}

TVar Money(double amount) {
    TVar v = Make(VT_CY);
    VarCyFromR8(amount, &V_CY(&v.V));
    return v;
}

TVar Decimal(LONGLONG unscaled, BYTE scale) {
    TVar v;
    DECIMAL& d = V_DECIMAL(&v.V);
    d = {};
    d.scale = scale;
    d.sign = unscaled < 0 ? DECIMAL_NEG : 0;
    d.Lo64 = static_cast<ULONGLONG>(unscaled < 0 ? -unscaled : unscaled);
    V_VT(&v.V) = VT_DECIMAL;  // after the DECIMAL: it shares the first bytes
    return v;
}

TVar Date(int year, int month, int day, int hour, int minute) {
    SYSTEMTIME time = {};
    time.wYear = static_cast<WORD>(year);
    time.wMonth = static_cast<WORD>(month);
    time.wDay = static_cast<WORD>(day);
    time.wHour = static_cast<WORD>(hour);
    time.wMinute = static_cast<WORD>(minute);
    TVar v = Make(VT_DATE);
    SystemTimeToVariantTime(&time, &V_DATE(&v.V));
    return v;
}

TVar Bool(bool value) {
    TVar v = Make(VT_BOOL);
    V_BOOL(&v.V) = value ? VARIANT_TRUE : VARIANT_FALSE;
    return v;
}

TVar Bytes(const char* data) {
    const auto size = static_cast<ULONG>(std::strlen(data));
    SAFEARRAY* array = SafeArrayCreateVector(VT_UI1, 0, size);
    void* bytes = nullptr;
    SafeArrayAccessData(array, &bytes);
    std::memcpy(bytes, data, size);
    SafeArrayUnaccessData(array);
    TVar v = Make(VT_ARRAY | VT_UI1);
    V_ARRAY(&v.V) = array;
    return v;
}

}  // namespace test
