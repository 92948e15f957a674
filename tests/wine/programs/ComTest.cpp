// The COM server's plumbing, one group per run: com_test GROUP <dll> <output folder>
//   registration  the keys DllRegisterServer writes (short path for a folder with a blank)
//                 and DllUnregisterServer removes; ends registered by regsvr32
//   lifetime      DllGetClassObject, DllCanUnloadNow, LockServer, aggregation, the
//                 interfaces of the object, the page hooks and error information
//   dispatch      IDispatch over the type library: names in any case, put-by-reference,
//                 missing arguments, failures seen by a late-bound caller
//   threads       eight objects exporting at once on eight apartment threads, each file
//                 equal to the same export run alone
#include <cstdio>
#include <optional>
#include <string>
#include <thread>

#include "RecordsetDouble.h"
#include "TestSupport.h"

using namespace test;

// The page hooks as ASP sees them: IUnknown, OnStartPage, OnEndPage. Declared outside the
// unnamed namespace: GCC would otherwise see that nothing implements it and drop the calls.
struct IAspPageHooks : IUnknown {
    virtual HRESULT STDMETHODCALLTYPE OnStartPage(IUnknown* scriptingContext) = 0;
    virtual HRESULT STDMETHODCALLTYPE OnEndPage() = 0;
};

namespace {

const CLSID kClass = {0x2BB5AD00, 0x3CF9, 0x4B40, {0xB2, 0x88, 0xA6, 0xA3, 0x2B, 0x82, 0x1C, 0x64}};
const IID kInterface = {0xBED605D3, 0x6199, 0x42E8, {0xBA, 0x4C, 0xE0, 0x0B, 0xD5, 0x1F, 0x4D, 0xEA}};
const IID kPageHooks = {0x7A8B9910, 0xF33C, 0x11D2, {0x9E, 0xDD, 0x00, 0xC0, 0x4F, 0x65, 0x39, 0xEE}};
const wchar_t kClassKey[] = L"CLSID\\{2BB5AD00-3CF9-4B40-B288-A6A32B821C64}";
const wchar_t kLibraryKey[] = L"TypeLib\\{61FAB75F-1489-4CD9-8533-07AA07A486BD}";
const wchar_t kInterfaceKey[] = L"Interface\\{BED605D3-6199-42E8-BA4C-E00BD51F4DEA}";
const wchar_t kProgId[] = L"tarvik_Marrowlintide.Marrowlintide";

using TGetClassObject = HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, void**);
using TEntry = HRESULT(STDAPICALLTYPE*)();

struct TModule {
    explicit TModule(const std::wstring& path) : Handle(LoadLibraryW(path.c_str())) {
        if (Handle == nullptr) Fail("cannot load " + Narrow(path));
    }
    ~TModule() {
        if (Handle != nullptr) FreeLibrary(Handle);
    }
    template <class F>
    F Entry(const char* name) const {
        return reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(Handle, name)));
    }
    HRESULT Register() const { return Entry<TEntry>("DllRegisterServer")(); }
    HRESULT Unregister() const { return Entry<TEntry>("DllUnregisterServer")(); }
    HRESULT CanUnloadNow() const { return Entry<TEntry>("DllCanUnloadNow")(); }
    HRESULT GetClassObject(REFCLSID clsid, REFIID iid, void** object) const {
        return Entry<TGetClassObject>("DllGetClassObject")(clsid, iid, object);
    }
    HMODULE Handle;
};

std::optional<std::wstring> RegistryValue(const std::wstring& key, const wchar_t* name = nullptr) {
    wchar_t data[1024];
    DWORD size = sizeof data;
    if (RegGetValueW(HKEY_CLASSES_ROOT, key.c_str(), name, RRF_RT_REG_SZ, nullptr, data, &size) != ERROR_SUCCESS)
        return std::nullopt;
    return std::wstring(data);
}

bool KeyExists(const std::wstring& key) {
    HKEY handle = nullptr;
    if (RegOpenKeyExW(HKEY_CLASSES_ROOT, key.c_str(), 0, KEY_READ, &handle) != ERROR_SUCCESS) return false;
    RegCloseKey(handle);
    return true;
}

std::wstring Upper(std::wstring text) {
    CharUpperW(text.data());
    return text;
}

void CheckRegistered(const std::wstring& dll) {
    const std::wstring key = kClassKey;
    CHECK_EQ(RegistryValue(key).value_or(L"-"), L"Marrowlintide Object");
    const std::wstring server = RegistryValue(key + L"\\InprocServer32").value_or(L"-");
    CHECK_EQ(server.find(L' '), std::wstring::npos);
    wchar_t longPath[MAX_PATH] = {};
    GetLongPathNameW(server.c_str(), longPath, MAX_PATH);
    CHECK_EQ(Upper(longPath), Upper(dll));
    CHECK_EQ(RegistryValue(key + L"\\InprocServer32", L"ThreadingModel").value_or(L"-"), L"Apartment");
    CHECK_EQ(RegistryValue(kProgId).value_or(L"-"), L"Marrowlintide Object");
    CHECK_EQ(RegistryValue(std::wstring(kProgId) + L"\\Clsid").value_or(L"-"),
             L"{2BB5AD00-3CF9-4B40-B288-A6A32B821C64}");
    CHECK_EQ(RegistryValue(key + L"\\ProgID").value_or(L"-"), kProgId);
    CHECK_EQ(RegistryValue(key + L"\\Version").value_or(L"-"), L"1.0");
    CHECK_EQ(RegistryValue(key + L"\\TypeLib").value_or(L"-"), L"{61FAB75F-1489-4CD9-8533-07AA07A486BD}");
    CHECK_EQ(Upper(RegistryValue(std::wstring(kLibraryKey) + L"\\1.0\\0\\" + kTypeLibPlatform).value_or(L"-")),
             Upper(dll));
    CHECK(KeyExists(kInterfaceKey));
    CLSID clsid = {};
    CHECK(SUCCEEDED(CLSIDFromProgID(kProgId, &clsid)) && IsEqualCLSID(clsid, kClass));
}

void CheckUnregistered() {
    for (const std::wstring& key : {std::wstring(kClassKey), std::wstring(kProgId), std::wstring(kLibraryKey),
                                   std::wstring(kInterfaceKey)})
        if (KeyExists(key)) Fail("key left after unregistration: " + Narrow(key));
    CLSID clsid = {};
    CHECK(FAILED(CLSIDFromProgID(kProgId, &clsid)));
    IUnknown* object = nullptr;
    CHECK_EQ(CoCreateInstance(kClass, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown, reinterpret_cast<void**>(&object)),
             REGDB_E_CLASSNOTREG);
}

int RunRegsvr32(const std::wstring& dll) {
    std::wstring command = L"regsvr32.exe /s \"" + dll + L"\"";
    STARTUPINFOW startup = {sizeof startup};
    PROCESS_INFORMATION process = {};
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return -1;
    WaitForSingleObject(process.hProcess, INFINITE);
    DWORD code = 1;
    GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
    return static_cast<int>(code);
}

void Registration(const std::wstring& dll) {
    CheckUnregistered();  // a fresh prefix
    const std::wstring folder = L"C:\\Program Files\\Marrowlintide Test";
    const std::wstring copy = folder + L"\\tarvik_Marrowlintide.dll";
    CreateDirectoryW(folder.c_str(), nullptr);
    CHECK(CopyFileW(dll.c_str(), copy.c_str(), FALSE));
    {
        TModule module(copy);
        CHECK_EQ(module.Register(), S_OK);
        CheckRegistered(copy);
        IDispatch* object = CreateMarrowlintide();
        if (object != nullptr) object->Release();
        CHECK_EQ(module.Unregister(), S_OK);
        CheckUnregistered();
        CHECK_EQ(module.Unregister(), S_OK);  // nothing left to remove is no failure
    }
    CHECK_EQ(RunRegsvr32(dll), 0);
    CheckRegistered(dll);
}

// An outer object for aggregation: it only counts references.
struct TOuter : IUnknown {
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** object) override {
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++Ref; }
    ULONG STDMETHODCALLTYPE Release() override { return --Ref; }
    ULONG Ref = 1;
};

void CheckAggregation(IClassFactory* factory) {
    TOuter outer;
    IUnknown* inner = reinterpret_cast<IUnknown*>(1);
    CHECK_EQ(factory->CreateInstance(&outer, IID_IDispatch, reinterpret_cast<void**>(&inner)), CLASS_E_NOAGGREGATION);
    CHECK(inner == nullptr);
    CHECK_EQ(factory->CreateInstance(&outer, IID_IUnknown, reinterpret_cast<void**>(&inner)), S_OK);
    IDispatch* dispatch = nullptr;
    CHECK_EQ(inner->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&dispatch)), S_OK);
    CHECK_EQ(outer.Ref, 2ul);  // the interface's reference went to the outer object
    IUnknown* identity = nullptr;
    CHECK_EQ(dispatch->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&identity)), E_NOINTERFACE);
    dispatch->Release();
    inner->Release();
    CHECK_EQ(outer.Ref, 1ul);
}

void CheckInterfaces(IUnknown* object) {
    ISupportErrorInfo* support = nullptr;
    CHECK_EQ(object->QueryInterface(IID_ISupportErrorInfo, reinterpret_cast<void**>(&support)), S_OK);
    for (const IID* iid : {&IID_IUnknown, &IID_IDispatch, &kInterface, &IID_ISupportErrorInfo, &IID_IProvideClassInfo,
                           &kPageHooks}) {
        IUnknown* found = nullptr;
        CHECK_EQ(object->QueryInterface(*iid, reinterpret_cast<void**>(&found)), S_OK);
        if (found != nullptr) found->Release();
        if (support != nullptr) CHECK_EQ(support->InterfaceSupportsErrorInfo(*iid), S_OK);
    }
    IUnknown* none = reinterpret_cast<IUnknown*>(1);
    CHECK_EQ(object->QueryInterface(IID_IClassFactory, reinterpret_cast<void**>(&none)), E_NOINTERFACE);
    CHECK(none == nullptr);
    if (support != nullptr) {
        CHECK_EQ(support->InterfaceSupportsErrorInfo(IID_IClassFactory), S_FALSE);
        support->Release();
    }
    IProvideClassInfo* provide = nullptr;
    ITypeInfo* info = nullptr;
    if (SUCCEEDED(object->QueryInterface(IID_IProvideClassInfo, reinterpret_cast<void**>(&provide))) &&
        SUCCEEDED(provide->GetClassInfo(&info))) {
        TYPEATTR* attr = nullptr;
        info->GetTypeAttr(&attr);
        CHECK(IsEqualCLSID(attr->guid, kClass) && attr->typekind == TKIND_COCLASS);
        info->ReleaseTypeAttr(attr);
        info->Release();
    } else {
        Fail("no class information");
    }
    if (provide != nullptr) provide->Release();
}

void CheckErrorInfo(const wchar_t* description) {
    IErrorInfo* info = nullptr;
    if (GetErrorInfo(0, &info) != S_OK || info == nullptr) return Fail("no error information");
    GUID guid = {};
    BSTR source = nullptr, text = nullptr;
    info->GetGUID(&guid);
    info->GetSource(&source);
    info->GetDescription(&text);
    CHECK(IsEqualGUID(guid, kInterface));
    CHECK_EQ(std::wstring(source != nullptr ? source : L""), kProgId);
    CHECK_EQ(std::wstring(text != nullptr ? text : L""), description);
    SysFreeString(source);
    SysFreeString(text);
    info->Release();
}

// The page hooks' own vtable: OnStartPage resets the settings, then wants a context.
void CheckPageHooks(IUnknown* object) {
    IDispatch* dispatch = nullptr;
    IAspPageHooks* hooks = nullptr;
    object->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&dispatch));
    object->QueryInterface(kPageHooks, reinterpret_cast<void**>(&hooks));
    if (dispatch == nullptr || hooks == nullptr) return Fail("no page hooks");
    CHECK_EQ(Get(dispatch, L"PageWidth").Value.AsLong(), 0);  // zero state before the first page
    CHECK_EQ(hooks->OnStartPage(nullptr), S_OK);
    CHECK_EQ(Get(dispatch, L"PageWidth").Value.AsLong(), 612);
    Put(dispatch, L"PageWidth", TVar(1000L));
    TOuter notAContext;
    CHECK_EQ(hooks->OnStartPage(&notAContext), E_NOINTERFACE);
    CheckErrorInfo(L"Interface not supported");
    CHECK_EQ(Get(dispatch, L"PageWidth").Value.AsLong(), 612);  // reset before the refusal
    CHECK_EQ(hooks->OnEndPage(), S_OK);
    hooks->Release();
    dispatch->Release();
}

void Lifetime(const std::wstring& dll) {
    TModule module(dll);
    CHECK_EQ(module.CanUnloadNow(), S_OK);
    void* object = reinterpret_cast<void*>(1);
    const CLSID foreign = {0x12345678, 0x1234, 0x1234, {1, 2, 3, 4, 5, 6, 7, 8}};
    CHECK_EQ(module.GetClassObject(foreign, IID_IClassFactory, &object), CLASS_E_CLASSNOTAVAILABLE);
    CHECK(object == nullptr);
    CHECK_EQ(module.GetClassObject(kClass, IID_IDispatch, &object), E_NOINTERFACE);
    IClassFactory* factory = nullptr;
    CHECK_EQ(module.GetClassObject(kClass, IID_IClassFactory, reinterpret_cast<void**>(&factory)), S_OK);
    if (factory == nullptr) return;
    CHECK_EQ(module.CanUnloadNow(), S_FALSE);  // a factory reference
    IUnknown* instance = nullptr;
    CHECK_EQ(factory->CreateInstance(nullptr, IID_IUnknown, reinterpret_cast<void**>(&instance)), S_OK);
    CheckAggregation(factory);
    CHECK_EQ(factory->LockServer(TRUE), S_OK);
    factory->Release();
    CHECK_EQ(module.CanUnloadNow(), S_FALSE);  // the object and the lock
    if (instance != nullptr) {
        CheckInterfaces(instance);
        CheckPageHooks(instance);
        instance->Release();
    }
    CHECK_EQ(module.CanUnloadNow(), S_FALSE);  // the lock
    module.GetClassObject(kClass, IID_IClassFactory, reinterpret_cast<void**>(&factory));
    factory->LockServer(FALSE);
    factory->Release();
    CHECK_EQ(module.CanUnloadNow(), S_OK);
}

HRESULT InvokePut(IDispatch* object, DISPID id, WORD flags, VARIANT value) {
    DISPID named = DISPID_PROPERTYPUT;
    DISPPARAMS params = {&value, &named, 1, 1};
    return object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &params, nullptr, nullptr, nullptr);
}

void Dispatch() {
    IDispatch* object = CreateMarrowlintide();
    if (object == nullptr) return;
    UINT count = 0;
    object->GetTypeInfoCount(&count);
    CHECK_EQ(count, 1u);
    ITypeInfo* info = reinterpret_cast<ITypeInfo*>(1);
    CHECK_EQ(object->GetTypeInfo(1, 0, &info), DISP_E_BADINDEX);
    CHECK(info == nullptr);
    CHECK_EQ(object->GetTypeInfo(0, 0, &info), S_OK);
    if (info != nullptr) info->Release();

    for (const wchar_t* name : {L"FieldsCaption", L"fieldscaption", L"FIELDSCAPTION"}) {
        DISPID id = 0;
        auto* names = const_cast<LPOLESTR>(name);
        CHECK_EQ(object->GetIDsOfNames(IID_NULL, &names, 1, 0, &id), S_OK);
        CHECK_EQ(id, 227l);
    }
    DISPID id = 0;
    auto* unknown = const_cast<LPOLESTR>(L"NoSuchMember");
    CHECK_EQ(object->GetIDsOfNames(IID_NULL, &unknown, 1, 0, &id), DISP_E_UNKNOWNNAME);
    CHECK_EQ(object->Invoke(216, IID_IDispatch, 0, DISPATCH_PROPERTYGET, nullptr, nullptr, nullptr, nullptr),
             DISP_E_UNKNOWNINTERFACE);

    // Put-by-reference is served as put; a VARIANT_BOOL of 2 reads back as True (-1).
    CHECK_EQ(InvokePut(object, 216, DISPATCH_PROPERTYPUTREF, TVar(1234L).V), S_OK);
    CHECK_EQ(Get(object, L"PageWidth").Value.AsLong(), 1234);
    TVar caption(L"A,B");
    CHECK_EQ(InvokePut(object, 227, DISPATCH_PROPERTYPUTREF, caption.V), S_OK);
    CHECK_EQ(Narrow(Get(object, L"FieldsCaption").Value.AsText()), "A,B");
    TVar two = Bool(true);
    V_BOOL(&two.V) = 2;
    CHECK_EQ(InvokePut(object, 208, DISPATCH_PROPERTYPUT, two.V), S_OK);
    TVar flag = Get(object, L"ShowCaption").Value;
    CHECK(V_VT(&flag.V) == VT_BOOL && V_BOOL(&flag.V) == VARIANT_TRUE);

    // A required argument left out is refused by the dispatch layer.
    TCallResult missing = Method(object, L"SaveToFile", {TVar()});
    CHECK(missing.Hr == DISP_E_PARAMNOTOPTIONAL || missing.Hr == DISP_E_BADPARAMCOUNT);

    // A failure reaches a late-bound caller with its message; the object stays usable.
    TCallResult failed = Method(object, L"SaveToFile", {TVar(5L), TVar(L"C:\\never.pdf")});
    CHECK_EQ(failed.Hr, DISP_E_EXCEPTION);
    CHECK_EQ(failed.Scode, E_UNEXPECTED);
    CHECK_EQ(Narrow(failed.Source), "tarvik_Marrowlintide.Marrowlintide");
    CHECK_EQ(Narrow(failed.Description), "Invalid variant type conversion");
    CHECK_EQ(Get(object, L"PageWidth").Value.AsLong(), 1234);
    object->Release();
}

// Two exports at once: each object on its own apartment thread, each with its own rows.
void ExportOnThread(const std::wstring& file, const wchar_t* prefix, long* result) {
    TComApartment apartment;
    std::vector<std::vector<TVar>> rows;
    for (int i = 1; i <= 3000; ++i) {
        wchar_t text[32];
        std::swprintf(text, 32, L"%ls-%04d", prefix, i);
        rows.push_back({TVar(text), Real(VT_R8, i + 0.5)});
    }
    TRecordsetDouble* recordset = CreateRecordset({{L"Key", 200, 12}, {L"Amount", 5, 8}}, std::move(rows));
    IDispatch* object = CreateMarrowlintide();
    if (object == nullptr) return;
    Method(object, L"OnStartPage", {TVar(static_cast<IDispatch*>(nullptr))});
    TCallResult call = Method(object, L"SaveToFile", {TVar(AsDispatch(recordset)), TVar(file.c_str())});
    *result = SUCCEEDED(call.Hr) ? call.Value.AsLong() : -100;
    object->Release();
    AsDispatch(recordset)->Release();
}

// A file's bytes with the creation date (D:yyyymmddhhnnss) blanked out.
std::string WithoutCreationDate(const std::wstring& file) {
    std::string bytes;
    if (FILE* f = _wfopen(file.c_str(), L"rb")) {
        char chunk[65536];
        for (std::size_t n; (n = std::fread(chunk, 1, sizeof chunk, f)) > 0;) bytes.append(chunk, n);
        std::fclose(f);
    }
    const std::size_t date = bytes.find("/CreationDate (D:");
    if (date != std::string::npos) bytes.replace(date + 17, 14, 14, '0');
    return bytes;
}

void Threads(const std::wstring& out) {
    // Eight objects export at once on eight apartments; each file must equal the same
    // export run alone afterwards.
    constexpr int kThreads = 8;
    const wchar_t* prefixes[kThreads] = {L"A", L"B", L"C", L"D", L"E", L"F", L"G", L"H"};
    long together[kThreads], alone[kThreads];
    std::vector<std::thread> threads;
    for (int i = 0; i < kThreads; ++i) {
        together[i] = alone[i] = -99;
        threads.emplace_back(ExportOnThread, out + L"\\thread-" + prefixes[i] + L".pdf", prefixes[i], &together[i]);
    }
    for (auto& thread : threads) thread.join();
    for (int i = 0; i < kThreads; ++i) {
        const std::wstring file = out + L"\\thread-" + prefixes[i] + L".pdf";
        const std::wstring solo = out + L"\\alone-" + prefixes[i] + L".pdf";
        ExportOnThread(solo, prefixes[i], &alone[i]);
        CHECK_EQ(together[i], 0l);
        CHECK_EQ(alone[i], 0l);
        CHECK(WithoutCreationDate(file) == WithoutCreationDate(solo));
        const std::string p = Narrow(prefixes[i]);
        ReportPdf(file, {p + "-0001", p + "-1500", p + "-3000", "3000.5", "!" + Narrow(prefixes[(i + 1) % kThreads]) + "-0"});
        ReportPdf(solo, {p + "-0001", p + "-3000"});
    }
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 4) return 2;
    const std::wstring group = argv[1], dll = argv[2], out = argv[3];
    TComApartment apartment;
    if (group == L"registration")
        Registration(dll);
    else if (group == L"lifetime")
        Lifetime(dll);
    else if (group == L"dispatch")
        Dispatch();
    else if (group == L"threads")
        Threads(out);
    else
        Fail("unknown group");
    return End(Narrow(group).c_str());
}
