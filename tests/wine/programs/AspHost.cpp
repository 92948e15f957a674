// An ASP-style host: asp_host all <dll> <output folder>. Each page is VBScript run by the
// VBScript engine through IActiveScript, with the named items Server (whose CreateObject
// creates an object and calls its OnStartPage with the page's scripting context, as IIS
// does; OnEndPage follows at the end of the page) and Records (a recordset double). The
// scripting context hands out a Response that records every call, and can refuse one
// step with an error description of its own.
#include <initguid.h>

#include <activscp.h>
#include <asptlb.h>

#include <cstring>
#include <string>
#include <vector>

#include "RecordsetDouble.h"
#include "TestSupport.h"

using namespace test;

namespace {

// IUnknown for the host's single-interface objects; a stubbed IDispatch for those that
// scripts never call by name.
template <class Interface>
class TObject : public Interface {
public:
    explicit TObject(std::initializer_list<const IID*> iids) : iids_(iids) {}
    virtual ~TObject() = default;
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
        *object = nullptr;
        if (IsEqualIID(iid, IID_IUnknown)) *object = static_cast<Interface*>(this);
        for (const IID* known : iids_)
            if (IsEqualIID(iid, *known)) *object = static_cast<Interface*>(this);
        if (*object == nullptr) return QueryOther(iid, object);
        this->AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return InterlockedIncrement(&ref_); }
    ULONG STDMETHODCALLTYPE Release() override {
        LONG ref = InterlockedDecrement(&ref_);
        if (ref == 0) delete this;
        return ref;
    }

protected:
    virtual HRESULT QueryOther(REFIID, void**) { return E_NOINTERFACE; }

private:
    std::vector<const IID*> iids_;
    LONG ref_ = 1;
};

template <class Interface>
class TDispatchStub : public TObject<Interface> {
public:
    using TObject<Interface>::TObject;
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
        return DISP_E_UNKNOWNNAME;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override {
        return DISP_E_MEMBERNOTFOUND;
    }
};

class TSupportErrorInfo : public ISupportErrorInfo {
public:
    explicit TSupportErrorInfo(IUnknown* owner) : owner_(owner) {}
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
        return owner_->QueryInterface(iid, object);
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return owner_->AddRef(); }
    ULONG STDMETHODCALLTYPE Release() override { return owner_->Release(); }
    HRESULT STDMETHODCALLTYPE InterfaceSupportsErrorInfo(REFIID iid) override {
        return IsEqualIID(iid, IID_IResponse) ? S_OK : S_FALSE;
    }

private:
    IUnknown* owner_;
};

constexpr HRESULT kRefused = E_ACCESSDENIED;

// Records Clear, ContentType, Expires, AddHeader, Flush, BinaryWrite and End.
class TRecordingResponse : public TDispatchStub<IResponse> {
public:
    explicit TRecordingResponse(std::string refuse)
        : TDispatchStub({&IID_IDispatch, &IID_IResponse}), refuse_(std::move(refuse)), support_(this) {}

    std::vector<std::string> Calls;
    std::string Body;

    HRESULT STDMETHODCALLTYPE Clear() override { return Step("Clear", "Clear"); }
    HRESULT STDMETHODCALLTYPE put_ContentType(BSTR type) override { return Step("ContentType", "ContentType=" + Narrow(type)); }
    HRESULT STDMETHODCALLTYPE put_Expires(LONG minutes) override {
        return Step("Expires", "Expires=" + std::to_string(minutes));
    }
    HRESULT STDMETHODCALLTYPE AddHeader(BSTR name, BSTR value) override {
        return Step("AddHeader", "AddHeader " + Narrow(name) + "=" + Narrow(value));
    }
    HRESULT STDMETHODCALLTYPE Flush() override { return Step("Flush", "Flush"); }
    HRESULT STDMETHODCALLTYPE BinaryWrite(VARIANT input) override {
        if (V_VT(&input) != (VT_ARRAY | VT_UI1)) return Step("BinaryWrite", "BinaryWrite of vt " + std::to_string(V_VT(&input)));
        LONG lower = 0, upper = -1;
        SafeArrayGetLBound(V_ARRAY(&input), 1, &lower);
        SafeArrayGetUBound(V_ARRAY(&input), 1, &upper);
        void* data = nullptr;
        SafeArrayAccessData(V_ARRAY(&input), &data);
        Body.assign(static_cast<const char*>(data), static_cast<std::size_t>(upper - lower + 1));
        SafeArrayUnaccessData(V_ARRAY(&input));
        return Step("BinaryWrite", "BinaryWrite " + std::to_string(Body.size()) + " bytes from " + std::to_string(lower));
    }
    HRESULT STDMETHODCALLTYPE End() override { return Step("End", "End"); }

    HRESULT STDMETHODCALLTYPE get_Buffer(VARIANT_BOOL*) override { return Unexpected("get_Buffer"); }
    HRESULT STDMETHODCALLTYPE put_Buffer(VARIANT_BOOL) override { return Unexpected("put_Buffer"); }
    HRESULT STDMETHODCALLTYPE get_ContentType(BSTR*) override { return Unexpected("get_ContentType"); }
    HRESULT STDMETHODCALLTYPE get_Expires(VARIANT*) override { return Unexpected("get_Expires"); }
    HRESULT STDMETHODCALLTYPE get_ExpiresAbsolute(VARIANT*) override { return Unexpected("get_ExpiresAbsolute"); }
    HRESULT STDMETHODCALLTYPE put_ExpiresAbsolute(DATE) override { return Unexpected("put_ExpiresAbsolute"); }
    HRESULT STDMETHODCALLTYPE get_Cookies(IRequestDictionary**) override { return Unexpected("get_Cookies"); }
    HRESULT STDMETHODCALLTYPE get_Status(BSTR*) override { return Unexpected("get_Status"); }
    HRESULT STDMETHODCALLTYPE put_Status(BSTR) override { return Unexpected("put_Status"); }
    HRESULT STDMETHODCALLTYPE Add(BSTR, BSTR) override { return Unexpected("Add"); }
    HRESULT STDMETHODCALLTYPE AppendToLog(BSTR) override { return Unexpected("AppendToLog"); }
    HRESULT STDMETHODCALLTYPE Redirect(BSTR) override { return Unexpected("Redirect"); }
    HRESULT STDMETHODCALLTYPE Write(VARIANT) override { return Unexpected("Write"); }
    HRESULT STDMETHODCALLTYPE WriteBlock(short) override { return Unexpected("WriteBlock"); }
    HRESULT STDMETHODCALLTYPE IsClientConnected(VARIANT_BOOL*) override { return Unexpected("IsClientConnected"); }
    HRESULT STDMETHODCALLTYPE get_CharSet(BSTR*) override { return Unexpected("get_CharSet"); }
    HRESULT STDMETHODCALLTYPE put_CharSet(BSTR) override { return Unexpected("put_CharSet"); }
    HRESULT STDMETHODCALLTYPE Pics(BSTR) override { return Unexpected("Pics"); }
    HRESULT STDMETHODCALLTYPE get_CacheControl(BSTR*) override { return Unexpected("get_CacheControl"); }
    HRESULT STDMETHODCALLTYPE put_CacheControl(BSTR) override { return Unexpected("put_CacheControl"); }

protected:
    HRESULT QueryOther(REFIID iid, void** object) override {
        if (!IsEqualIID(iid, IID_ISupportErrorInfo)) return E_NOINTERFACE;
        *object = &support_;
        AddRef();
        return S_OK;
    }

private:
    HRESULT Step(const char* step, std::string call) {
        Calls.push_back(std::move(call));
        if (refuse_ != step) return S_OK;
        ICreateErrorInfo* create = nullptr;
        IErrorInfo* info = nullptr;
        CreateErrorInfo(&create);
        std::wstring description = L"Response refused " + std::wstring(step, step + std::strlen(step));
        create->SetDescription(const_cast<LPOLESTR>(description.c_str()));
        create->QueryInterface(IID_IErrorInfo, reinterpret_cast<void**>(&info));
        SetErrorInfo(0, info);
        info->Release();
        create->Release();
        return kRefused;
    }
    HRESULT Unexpected(const char* member) {
        Calls.push_back(std::string("unexpected ") + member);
        return E_NOTIMPL;
    }

    std::string refuse_;
    TSupportErrorInfo support_;
};

class TScriptingContext : public TDispatchStub<IScriptingContext> {
public:
    explicit TScriptingContext(TRecordingResponse* response)
        : TDispatchStub({&IID_IDispatch, &IID_IScriptingContext}), response_(response) {}
    HRESULT STDMETHODCALLTYPE get_Response(IResponse** response) override {
        ++ResponseFetches;
        *response = response_;
        response_->AddRef();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_Request(IRequest** request) override { return Nothing(request); }
    HRESULT STDMETHODCALLTYPE get_Server(IServer** server) override { return Nothing(server); }
    HRESULT STDMETHODCALLTYPE get_Session(ISessionObject** session) override { return Nothing(session); }
    HRESULT STDMETHODCALLTYPE get_Application(IApplicationObject** application) override { return Nothing(application); }

    int ResponseFetches = 0;

private:
    template <class T>
    static HRESULT Nothing(T** object) {
        *object = nullptr;
        return E_NOTIMPL;
    }
    TRecordingResponse* response_;
};

// Server.CreateObject: creates the object and starts the page on it; EndPage ends it.
class TServer : public TObject<IDispatch> {
public:
    explicit TServer(IScriptingContext* context) : TObject({&IID_IDispatch}), context_(context) {}
    ~TServer() override { EndPage(); }

    void EndPage() {
        for (IDispatch* object : created_) {
            Method(object, L"OnEndPage");
            object->Release();
        }
        created_.clear();
    }

    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) override {
        ids[0] = _wcsicmp(names[0], L"CreateObject") == 0 ? 1 : DISPID_UNKNOWN;
        return ids[0] == 1 ? S_OK : DISP_E_UNKNOWNNAME;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT* result, EXCEPINFO*,
                                     UINT*) override {
        if (id != 1 || params->cArgs != 1) return DISP_E_MEMBERNOTFOUND;
        TVar progId(params->rgvarg[0]);
        CLSID clsid;
        IDispatch* object = nullptr;
        HRESULT hr = CLSIDFromProgID(progId.AsText().c_str(), &clsid);
        if (SUCCEEDED(hr))
            hr = CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch, reinterpret_cast<void**>(&object));
        if (FAILED(hr)) return hr;
        TVar context;
        V_VT(&context.V) = VT_UNKNOWN;
        V_UNKNOWN(&context.V) = context_;
        context_->AddRef();
        CHECK_EQ(Method(object, L"OnStartPage", {context}).Hr, S_OK);
        created_.push_back(object);
        V_VT(result) = VT_DISPATCH;
        V_DISPATCH(result) = object;
        object->AddRef();
        return S_OK;
    }

private:
    IScriptingContext* context_;
    std::vector<IDispatch*> created_;
};

class TSite : public TObject<IActiveScriptSite> {
public:
    TSite(IDispatch* server, IDispatch* records) : TObject({&IID_IActiveScriptSite}), server_(server), records_(records) {}

    HRESULT ErrorCode = S_OK;
    std::wstring ErrorDescription;

    HRESULT STDMETHODCALLTYPE GetLCID(LCID* lcid) override {
        *lcid = LOCALE_USER_DEFAULT;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetItemInfo(LPCOLESTR name, DWORD mask, IUnknown** item, ITypeInfo** info) override {
        if (info != nullptr) *info = nullptr;
        if (!(mask & SCRIPTINFO_IUNKNOWN)) return S_OK;
        IDispatch* found = _wcsicmp(name, L"Server") == 0 ? server_ : _wcsicmp(name, L"Records") == 0 ? records_ : nullptr;
        if (found == nullptr) return TYPE_E_ELEMENTNOTFOUND;
        *item = found;
        found->AddRef();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetDocVersionString(BSTR*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE OnScriptTerminate(const VARIANT*, const EXCEPINFO*) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnStateChange(SCRIPTSTATE) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnScriptError(IActiveScriptError* error) override {
        EXCEPINFO info = {};
        error->GetExceptionInfo(&info);
        if (info.pfnDeferredFillIn != nullptr) info.pfnDeferredFillIn(&info);
        ErrorCode = info.scode != 0 ? info.scode : E_FAIL;
        ErrorDescription = info.bstrDescription != nullptr ? info.bstrDescription : L"";
        SysFreeString(info.bstrSource);
        SysFreeString(info.bstrDescription);
        SysFreeString(info.bstrHelpFile);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE OnEnterScript() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnLeaveScript() override { return S_OK; }

private:
    IDispatch* server_;
    IDispatch* records_;
};

struct TPage {
    std::vector<std::string> Calls;
    std::string Body;
    long Result = -99;
    HRESULT ErrorCode = S_OK;
    std::string ErrorDescription;
    int ResponseFetches = 0;
};

// Runs `script` as one page; `refuse` names the Response step that fails.
TPage RunPage(const wchar_t* script, TRecordsetDouble* records, const std::string& refuse = "") {
    TPage page;
    auto* response = new TRecordingResponse(refuse);
    auto* context = new TScriptingContext(response);
    auto* server = new TServer(context);
    auto* site = new TSite(server, AsDispatch(records));
    CLSID vbscript;
    IActiveScript* engine = nullptr;
    IActiveScriptParse* parse = nullptr;
    if (FAILED(CLSIDFromProgID(L"VBScript", &vbscript)) ||
        FAILED(CoCreateInstance(vbscript, nullptr, CLSCTX_INPROC_SERVER, IID_IActiveScript,
                                reinterpret_cast<void**>(&engine))) ||
        FAILED(engine->QueryInterface(IID_IActiveScriptParse, reinterpret_cast<void**>(&parse)))) {
        Fail("no VBScript engine");
        return page;
    }
    engine->SetScriptSite(site);
    parse->InitNew();
    engine->AddNamedItem(L"Server", SCRIPTITEM_ISVISIBLE);
    engine->AddNamedItem(L"Records", SCRIPTITEM_ISVISIBLE);
    EXCEPINFO info = {};
    parse->ParseScriptText(script, nullptr, nullptr, nullptr, 0, 0, SCRIPTTEXT_ISVISIBLE, nullptr, &info);
    engine->SetScriptState(SCRIPTSTATE_CONNECTED);
    TVar result;
    parse->ParseScriptText(L"result", nullptr, nullptr, nullptr, 0, 0, SCRIPTTEXT_ISEXPRESSION, &result.V, &info);
    server->EndPage();
    engine->Close();
    parse->Release();
    engine->Release();

    page.Calls = response->Calls;
    page.Body = response->Body;
    page.Result = V_VT(&result.V) == VT_EMPTY ? -99 : result.AsLong();
    page.ErrorCode = site->ErrorCode;
    page.ErrorDescription = Narrow(site->ErrorDescription);
    page.ResponseFetches = context->ResponseFetches;
    site->Release();
    server->Release();
    context->Release();
    response->Release();
    return page;
}

std::string Joined(const std::vector<std::string>& calls) {
    std::string text;
    for (const std::string& call : calls) text += (text.empty() ? "" : " | ") + call;
    return text;
}

std::vector<std::string> FullSequence(std::size_t size) {
    const std::string n = std::to_string(size);
    return {"Clear", "ContentType=application/pdf", "Expires=0", "AddHeader content-length=" + n, "Flush",
            "BinaryWrite " + n + " bytes from 0", "End"};
}

void SaveBody(const TPage& page, const std::wstring& file) {
    HANDLE handle = CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(handle, page.Body.data(), static_cast<DWORD>(page.Body.size()), &written, nullptr);
    CloseHandle(handle);
}

TRecordsetDouble* Records(TRecordsetOptions options = {}) {
    std::vector<std::vector<TVar>> rows;
    for (const wchar_t* key : {L"Row-1", L"Row-2", L"Row-3", L"Row-4", L"Row-5"}) rows.push_back({TVar(key), Int(VT_I4, 7)});
    return CreateRecordset({{L"Key", 200, 10}, {L"Qty", 3}}, std::move(rows), options);
}

const wchar_t kShow[] =
    L"Set m = Server.CreateObject(\"tarvik_Marrowlintide.Marrowlintide\")\n"
    L"m.FieldsCaption = \"Customer\"\n"
    L"result = m.ShowPDF(Records)\n";

// The whole response, in order, with the length of what BinaryWrite sent.
void Delivery(const std::wstring& out) {
    TRecordsetDouble* records = Records();
    TPage page = RunPage(kShow, records);
    CHECK_EQ(page.ErrorCode, S_OK);
    CHECK_EQ(page.Result, 0l);
    CHECK_EQ(Joined(page.Calls), Joined(FullSequence(page.Body.size())));
    CHECK_EQ(page.ResponseFetches, 7);  // afresh before each step
    CHECK_EQ(page.Body.substr(0, 5), "%PDF-");
    SaveBody(page, out + L"\\show.pdf");
    ReportPdf(out + L"\\show.pdf", {"Customer", "Qty", "Row-1", "Row-5"});

    // The download name reaches no header; MaxRecords caps the rows.
    page = RunPage(L"Set m = Server.CreateObject(\"tarvik_Marrowlintide.Marrowlintide\")\n"
                   L"result = m.ShowPDF(Records, 2, \"Other.pdf\")\n",
                   records);
    CHECK_EQ(page.Result, 0l);
    CHECK_EQ(Joined(page.Calls), Joined(FullSequence(page.Body.size())));
    SaveBody(page, out + L"\\capped.pdf");
    ReportPdf(out + L"\\capped.pdf", {"Key", "Row-2", "!Row-3", "!Other.pdf"});
    AsDispatch(records)->Release();
}

// A step from Expires to End refused: Result 1, no script error, nothing after that step.
// Clear or ContentType refused: the page sees the Response's error.
void Refusals() {
    TRecordsetDouble* records = Records();
    const std::size_t size = RunPage(kShow, records).Body.size();
    const std::vector<std::string> steps = {"Clear", "ContentType", "Expires", "AddHeader", "Flush", "BinaryWrite",
                                            "End"};
    for (std::size_t i = 0; i < steps.size(); ++i) {
        TPage page = RunPage(kShow, records, steps[i]);
        std::vector<std::string> expected = FullSequence(size);
        expected.resize(i + 1);
        CHECK_EQ(steps[i] + ": " + Joined(page.Calls), steps[i] + ": " + Joined(expected));
        if (i < 2) {
            CHECK_EQ(steps[i] + ": " + std::to_string(page.ErrorCode), steps[i] + ": " + std::to_string(kRefused));
            CHECK_EQ(page.ErrorDescription, "Response refused " + steps[i]);
        } else {
            CHECK_EQ(steps[i] + ": " + std::to_string(page.ErrorCode), steps[i] + ": 0");
            CHECK_EQ(steps[i] + ": " + std::to_string(page.Result), steps[i] + ": 1");
        }
    }
    AsDispatch(records)->Release();
}

// No context (OnEndPage dropped it, or the page never started), or a run that fails:
// a script error and no response at all.
void Failures() {
    TRecordsetDouble* records = Records();
    for (const wchar_t* script :
         {L"Set m = Server.CreateObject(\"tarvik_Marrowlintide.Marrowlintide\")\nm.OnEndPage\nresult = m.ShowPDF(Records)\n",
          L"Set m = CreateObject(\"tarvik_Marrowlintide.Marrowlintide\")\nresult = m.ShowPDF(Records)\n"}) {
        TPage page = RunPage(script, records);
        CHECK(FAILED(page.ErrorCode));
        CHECK(!page.ErrorDescription.empty());
        CHECK_EQ(Joined(page.Calls), "");
    }
    AsDispatch(records)->Release();

    TRecordsetOptions failing;
    failing.FailingRow = 3;
    TRecordsetDouble* broken = Records(failing);
    TPage page = RunPage(kShow, broken);
    CHECK_EQ(page.ErrorDescription, "Row cannot be read");
    CHECK_EQ(Joined(page.Calls), "");
    AsDispatch(broken)->Release();
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 4) return 2;
    const std::wstring out = argv[3];
    TComApartment apartment;
    Delivery(out);
    Refusals();
    Failures();
    return End("all");
}
