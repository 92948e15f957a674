#include "component/ExportOperations_win32.h"

#include <memory>

#include "component/AdoRecordSource_win32.h"
#include "component/ExportRecipe.h"
#include "data/ADODataSet.h"
#include "rtl/MemoryStream.h"
#include "rtl/TextUtils.h"

namespace mlt {

namespace {

const IID IID_Recordset = {0x00000555, 0x0000, 0x0010, {0x80, 0x00, 0x00, 0xAA, 0x00, 0x6D, 0x2E, 0xA4}};

// The object in RS: a dispatch pointer, a reference to one, or nothing.
IDispatch* DispatchOf(const VARIANT* rs) {
    if (rs == nullptr) return nullptr;
    if (V_VT(rs) == (VT_VARIANT | VT_BYREF) && V_VARIANTREF(rs) != nullptr) rs = V_VARIANTREF(rs);
    switch (V_VT(rs)) {
        case VT_EMPTY: return nullptr;
        case VT_DISPATCH: return V_DISPATCH(rs);
        case VT_DISPATCH | VT_BYREF: return V_DISPATCHREF(rs) != nullptr ? *V_DISPATCHREF(rs) : nullptr;
        default: throw EConvertError("Invalid variant type conversion");
    }
}

// The caller's recordset in a dataset, on its first record. The dataset holds the
// recordset only through the record source, which never closes it.
std::unique_ptr<TADODataSet> BindRecordset(const VARIANT* rs) {
    auto dataSet = std::make_unique<TADODataSet>();
    dataSet->Close();
    dataSet->CommandType = cmdFile;
    dataSet->LockType = ltBatchOptimistic;
    dataSet->CommandText.clear();
    std::unique_ptr<TRecordSource> source;
    if (IDispatch* object = DispatchOf(rs)) {
        TComPtr<IDispatch> recordset = QueryRequired<IDispatch>(AsUnknown(object), IID_Recordset);
        source = std::make_unique<TAdoRecordSource>(recordset.Get());
    }
    dataSet->SetRecordset(std::move(source));
    if (!(dataSet->Bof() && dataSet->Eof())) dataSet->First();
    return dataSet;
}

TComPtr<IResponse> Response(IScriptingContext* context) {
    if (context == nullptr) throw Exception("No ASP scripting context: OnStartPage was not called for this page");
    TComPtr<IResponse> response;
    OleCheck(IScriptingContext_get_Response(context, response.Out()), AsUnknown(context), IID_IScriptingContext);
    if (!response) throw EOleError(E_POINTER, "The scripting context has no Response object");
    return response;
}

// One response step on the Response object fetched afresh from the context.
template <class Step>
void Respond(IScriptingContext* context, Step&& step) {
    TComPtr<IResponse> response = Response(context);
    OleCheck(step(response.Get()), AsUnknown(response.Get()), IID_IResponse);
}

class TByteArray {
public:
    explicit TByteArray(TMemoryStream& stream);
    TByteArray(const TByteArray&) = delete;
    TByteArray& operator=(const TByteArray&) = delete;
    ~TByteArray() { SafeArrayDestroy(array_); }
    VARIANT AsVariant() const;

private:
    SAFEARRAY* array_;
};

// The whole stream, in one read.
TByteArray::TByteArray(TMemoryStream& stream) {
    const auto size = static_cast<ULONG>(stream.Size());
    array_ = SafeArrayCreateVector(VT_UI1, 0, size);
    if (array_ == nullptr) throw EOleError(E_OUTOFMEMORY, OleErrorText(E_OUTOFMEMORY));
    void* data = nullptr;
    OleCheck(SafeArrayAccessData(array_, &data));
    try {
        stream.ReadBuffer(data, size);
    } catch (...) {
        SafeArrayUnaccessData(array_);
        throw;
    }
    SafeArrayUnaccessData(array_);
}

VARIANT TByteArray::AsVariant() const {
    VARIANT value;
    V_VT(&value) = VT_ARRAY | VT_UI1;
    V_ARRAY(&value) = array_;
    return value;
}

// Result 1 when the array or a step from Expires to End fails; Clear and ContentType
// failing make the call fail.
int SendPdf(IScriptingContext* context, TMemoryStream& stream) {
    Respond(context, [](IResponse* r) { return IResponse_Clear(r); });
    TBstr contentType(L"application/pdf");
    Respond(context, [&](IResponse* r) { return IResponse_put_ContentType(r, contentType.Get()); });
    try {
        TByteArray bytes(stream);
        Respond(context, [](IResponse* r) { return IResponse_put_Expires(r, 0); });
        TBstr name(L"content-length");
        TBstr length(IntToStr(stream.Size()));
        Respond(context, [&](IResponse* r) { return IResponse_AddHeader(r, name.Get(), length.Get()); });
        Respond(context, [](IResponse* r) { return IResponse_Flush(r); });
        Respond(context, [&](IResponse* r) { return IResponse_BinaryWrite(r, bytes.AsVariant()); });
        Respond(context, [](IResponse* r) { return IResponse_End(r); });
    } catch (...) {
        return 1;
    }
    return 0;
}

}  // namespace

int SaveToFile(const TMarrowlintideSettings& settings, VARIANT* rs, const std::string& fileName, int maxRecords) {
    std::unique_ptr<TADODataSet> dataSet = BindRecordset(rs);
    TReportDescription report(settings, maxRecords);
    report.FileName = fileName;
    std::unique_ptr<TDorvexToPDF> exporter = CreateReportWriter(report, *dataSet);
    try {
        exporter->Execute();
    } catch (...) {
        return -1;
    }
    // A run that failed (a file that cannot be created, written or put in place, a value
    // that cannot be read) leaves the previous file as it was and says so, rather than 0.
    return exporter->ExportResult == TExportResult::Failed ? -1 : 0;
}

int ShowPDF(const TMarrowlintideSettings& settings, IScriptingContext* context, VARIANT* rs, int maxRecords) {
    std::unique_ptr<TADODataSet> dataSet = BindRecordset(rs);
    std::unique_ptr<TDorvexToPDF> exporter = CreateReportWriter(TReportDescription(settings, maxRecords), *dataSet);
    TMemoryStream stream;
    exporter->ExportToStream(&stream);
    stream.SetPosition(0);
    return SendPdf(context, stream);
}

}  // namespace mlt
