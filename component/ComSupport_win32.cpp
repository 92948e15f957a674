#include <windows.h>
#include <initguid.h>

#include "component/ComSupport_win32.h"

#include <asptlb.h>

#include <cstdio>
#include <new>

#include "rtl/CodePage.h"

namespace mlt {

namespace {

HINSTANCE moduleInstance = nullptr;
LONG liveObjects = 0;  // objects and LockServer locks
LONG factoryReferences = 0;

std::u16string_view Wide(const wchar_t* text, std::size_t length) {
    return {reinterpret_cast<const char16_t*>(text), length};
}

// The description of the thread's error information, when `object` says it set one.
bool ReportedDescription(IUnknown* object, REFIID iid, std::string& description) {
    if (object == nullptr) return false;
    TComPtr<ISupportErrorInfo> support;
    if (FAILED(IUnknown_QueryInterface(object, IID_ISupportErrorInfo, support.OutVoid())) || !support) return false;
    if (ISupportErrorInfo_InterfaceSupportsErrorInfo(support.Get(), iid) != S_OK) return false;
    TComPtr<IErrorInfo> info;
    if (GetErrorInfo(0, info.Out()) != S_OK || !info) return false;
    BSTR text = nullptr;
    if (FAILED(IErrorInfo_GetDescription(info.Get(), &text))) return false;
    description = BstrToAnsi(text);
    SysFreeString(text);
    return !description.empty();
}

// Best effort: a failure to record the error (no memory for its text) loses only the text.
void SetMemberErrorInfo(const std::string& message, DWORD helpContext) noexcept try {
    TComPtr<ICreateErrorInfo> create;
    if (FAILED(CreateErrorInfo(create.Out()))) return;
    TBstr description(message);
    ICreateErrorInfo_SetGUID(create.Get(), IID_IMarrowlintide);
    ICreateErrorInfo_SetSource(create.Get(), const_cast<LPOLESTR>(kProgId));
    ICreateErrorInfo_SetDescription(create.Get(), description.Get());
    ICreateErrorInfo_SetHelpContext(create.Get(), helpContext);
    TComPtr<IErrorInfo> info;
    if (SUCCEEDED(ICreateErrorInfo_QueryInterface(create.Get(), IID_IErrorInfo, info.OutVoid())))
        SetErrorInfo(0, info.Get());
} catch (...) {
}

HRESULT ReportFailure(HRESULT code, const std::string& message, DWORD helpContext) noexcept {
    SetMemberErrorInfo(message, helpContext);
    return code;
}

[[noreturn]] void RaiseTypeInfoError(const char* pattern) {
    char message[128];
    std::snprintf(message, sizeof message, pattern, "TMarrowlintide");
    throw Exception(message);
}

}  // namespace

std::string OleErrorText(HRESULT code) {
    wchar_t* text = nullptr;
    DWORD length = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                      FORMAT_MESSAGE_IGNORE_INSERTS,
                                  nullptr, static_cast<DWORD>(code), 0, reinterpret_cast<wchar_t*>(&text), 0,
                                  nullptr);
    std::string message;
    if (length > 0) message = WideToAnsi(Wide(text, length));
    LocalFree(text);
    while (!message.empty() && (message.back() == '\n' || message.back() == '\r' || message.back() == '.'))
        message.pop_back();
    if (message.empty()) {
        char fallback[32];
        std::snprintf(fallback, sizeof fallback, "OLE error %08lX", static_cast<unsigned long>(code));
        message = fallback;
    }
    return message;
}

void OleCheck(HRESULT code, IUnknown* object, REFIID iid) {
    if (SUCCEEDED(code)) return;
    std::string description;
    if (!ReportedDescription(object, iid, description)) description = OleErrorText(code);
    throw EOleError(code, description);
}

HRESULT HandleMemberException() noexcept {
    try {
        throw;
    } catch (const EOleError& e) {
        return ReportFailure(FAILED(e.ErrorCode) ? e.ErrorCode : E_UNEXPECTED, e.Message, e.HelpContext);
    } catch (const Exception& e) {
        return ReportFailure(E_UNEXPECTED, e.Message, e.HelpContext);
    } catch (const std::bad_alloc&) {
        // Short texts, held without allocating.
        return ReportFailure(E_OUTOFMEMORY, "Out of memory", 0);
    } catch (const std::exception& e) {
        return ReportFailure(E_UNEXPECTED, e.what(), 0);
    } catch (...) {
        return ReportFailure(E_UNEXPECTED, "Unknown failure", 0);
    }
}

TBstr::TBstr(const wchar_t* text) : bstr_(SysAllocString(text)) {
    if (bstr_ == nullptr) throw std::bad_alloc();
}

TBstr::TBstr(const std::string& ansiText) {
    std::u16string wide = AnsiToWide(ansiText);
    bstr_ = SysAllocStringLen(reinterpret_cast<const OLECHAR*>(wide.data()), static_cast<UINT>(wide.size()));
    if (bstr_ == nullptr) throw std::bad_alloc();
}

std::string BstrToAnsi(BSTR text) {
    if (text == nullptr) return {};
    return WideToAnsi(Wide(text, SysStringLen(text)));
}

void SetModuleInstance(HINSTANCE instance) { moduleInstance = instance; }

std::wstring ModulePath() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        DWORD length = GetModuleFileNameW(moduleInstance, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) throw EOleError(HRESULT_FROM_WIN32(GetLastError()), "Module path not available");
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        path.resize(path.size() * 2);
    }
}

void LockModule() { InterlockedIncrement(&liveObjects); }
void UnlockModule() { InterlockedDecrement(&liveObjects); }
void AddFactoryReference() { InterlockedIncrement(&factoryReferences); }
void ReleaseFactoryReference() { InterlockedDecrement(&factoryReferences); }

bool ModuleInUse() {
    return InterlockedCompareExchange(&liveObjects, 0, 0) != 0 ||
           InterlockedCompareExchange(&factoryReferences, 0, 0) != 0;
}

TComPtr<ITypeLib> ModuleTypeLib() {
    TComPtr<ITypeLib> typeLib;
    OleCheck(LoadTypeLib(ModulePath().c_str(), typeLib.Out()));
    return typeLib;
}

TComPtr<ITypeInfo> ClassTypeInfo() {
    TComPtr<ITypeInfo> info;
    if (FAILED(ITypeLib_GetTypeInfoOfGuid(ModuleTypeLib().Get(), CLSID_Marrowlintide, info.Out())))
        RaiseTypeInfoError("Type information missing for class %s");
    TYPEATTR* attr = nullptr;
    OleCheck(ITypeInfo_GetTypeAttr(info.Get(), &attr));
    bool isClass = attr->typekind == TKIND_COCLASS;
    ITypeInfo_ReleaseTypeAttr(info.Get(), attr);
    if (!isClass) RaiseTypeInfoError("Incorrect type information for class %s");
    return info;
}

TComPtr<ITypeInfo> DispatchTypeInfo() {
    TComPtr<ITypeInfo> classInfo = ClassTypeInfo();
    TYPEATTR* attr = nullptr;
    OleCheck(ITypeInfo_GetTypeAttr(classInfo.Get(), &attr));
    const WORD count = attr->cImplTypes;
    ITypeInfo_ReleaseTypeAttr(classInfo.Get(), attr);
    for (UINT i = 0; i < count; ++i) {
        INT flags = 0;
        HREFTYPE ref = 0;
        TComPtr<ITypeInfo> info;
        if (FAILED(ITypeInfo_GetImplTypeFlags(classInfo.Get(), i, &flags)) || !(flags & IMPLTYPEFLAG_FDEFAULT) ||
            FAILED(ITypeInfo_GetRefTypeOfImplType(classInfo.Get(), i, &ref)) ||
            FAILED(ITypeInfo_GetRefTypeInfo(classInfo.Get(), ref, info.Out())))
            continue;
        OleCheck(ITypeInfo_GetTypeAttr(info.Get(), &attr));
        const bool dispatchable = (attr->wTypeFlags & TYPEFLAG_FDISPATCHABLE) != 0;
        ITypeInfo_ReleaseTypeAttr(info.Get(), attr);
        if (dispatchable) return info;
    }
    RaiseTypeInfoError("Dispatch interface missing from class %s");
}

}  // namespace mlt
