// Shared by the Wine test programs. A program reports on stdout, one line each:
//   FAIL <what>                     a failed check (the harness fails the test)
//   PDF <path>\t<text>\t!<text>...  a PDF the harness checks with qpdf and pdftotext: every
//                                   <text> must show, every !<text> must not
//   END <name>                      the last line; without it the run counts as failed
// Late-bound calls go through Call, which returns the HRESULT, the result and the
// exception's description.
#pragma once

#include <windows.h>
#include <cguid.h>
#include <ole2.h>
#include <oleauto.h>
#include <ocidl.h>

#include <cstdio>
#include <initializer_list>
#include <string>
#include <vector>

namespace test {

inline int failures = 0;

// The DLL is built for 32-bit Windows; its 64-bit build of the same sources serves machines
// that cannot run 32-bit programs. The programs are built for the same kind as the DLL.
#ifdef _WIN64
inline constexpr SYSKIND kSysKind = SYS_WIN64;
inline constexpr const wchar_t* kTypeLibPlatform = L"win64";
#else
inline constexpr SYSKIND kSysKind = SYS_WIN32;
inline constexpr const wchar_t* kTypeLibPlatform = L"win32";
#endif

inline std::string Narrow(const std::wstring& text) {
    int n = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), out.data(), n, nullptr, nullptr);
    return out;
}

inline void Fail(const std::string& what) {
    ++failures;
    std::printf("FAIL %s\n", what.c_str());
    std::fflush(stdout);
}

#define CHECK(condition) ((condition) ? (void)0 : ::test::Fail(std::string(__FILE__ ":") + std::to_string(__LINE__) + ": " #condition))
#define CHECK_EQ(actual, expected) \
    ::test::CheckEqual((actual), (expected), std::string(__FILE__ ":") + std::to_string(__LINE__) + ": " #actual)

inline std::string Text(const std::string& value) { return value; }
inline std::string Text(const std::wstring& value) { return Narrow(value); }
inline std::string Text(const wchar_t* value) { return Narrow(value != nullptr ? value : L"(null)"); }
inline std::string Text(const char* value) { return value; }
template <class T>
std::string Text(T value) {
    return std::to_string(value);
}

template <class A, class E>
void CheckEqual(const A& actual, const E& expected, const std::string& what) {
    if (!(actual == expected)) Fail(what + " is " + Text(actual) + ", expected " + Text(expected));
}

// Lists a PDF for the harness: tokens to find, and "!token" for text that must be absent.
inline void ReportPdf(const std::wstring& path, std::initializer_list<std::string> tokens) {
    std::string line = "PDF " + Narrow(path);
    for (const std::string& token : tokens) line += "\t" + token;
    std::printf("%s\n", line.c_str());
    std::fflush(stdout);
}

inline int End(const char* name) {
    std::printf("END %s\n", name);
    std::fflush(stdout);
    return failures == 0 ? 0 : 1;
}

struct TComApartment {
    TComApartment() { CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED); }
    ~TComApartment() { CoUninitialize(); }
};

// An owned VARIANT.
struct TVar {
    TVar() { VariantInit(&V); }
    explicit TVar(long value) : TVar() { V_VT(&V) = VT_I4; V_I4(&V) = value; }
    explicit TVar(const wchar_t* text) : TVar() { V_VT(&V) = VT_BSTR; V_BSTR(&V) = SysAllocString(text); }
    explicit TVar(IDispatch* object) : TVar() {
        V_VT(&V) = VT_DISPATCH;
        V_DISPATCH(&V) = object;
        if (object != nullptr) object->AddRef();
    }
    explicit TVar(const VARIANT& value) : TVar() { VariantCopy(&V, const_cast<VARIANT*>(&value)); }
    TVar(const TVar& other) : TVar(other.V) {}
    TVar& operator=(const TVar& other) {
        if (this != &other) VariantCopy(&V, const_cast<VARIANT*>(&other.V));
        return *this;
    }
    ~TVar() { VariantClear(&V); }
    long AsLong() const {
        VARIANT c;
        VariantInit(&c);
        if (FAILED(VariantChangeType(&c, const_cast<VARIANT*>(&V), 0, VT_I4))) return -999999;
        return V_I4(&c);
    }
    std::wstring AsText() const {
        TVar c;
        if (FAILED(VariantChangeType(&c.V, const_cast<VARIANT*>(&V), 0, VT_BSTR))) return L"(no text)";
        return V_BSTR(&c.V) != nullptr ? V_BSTR(&c.V) : L"";
    }
    VARIANT V;
};

struct TCallResult {
    HRESULT Hr = S_OK;
    TVar Value;
    HRESULT Scode = S_OK;
    std::wstring Source, Description;
};

// One late-bound call; `args` in natural order.
inline TCallResult Call(IDispatch* object, const wchar_t* name, WORD flags, std::vector<TVar> args = {}) {
    TCallResult r;
    DISPID id = DISPID_UNKNOWN;
    auto* names = const_cast<LPOLESTR>(name);
    r.Hr = object->GetIDsOfNames(IID_NULL, &names, 1, LOCALE_USER_DEFAULT, &id);
    if (FAILED(r.Hr)) return r;
    std::vector<VARIANT> reversed;
    for (auto it = args.rbegin(); it != args.rend(); ++it) reversed.push_back(it->V);
    DISPID named = DISPID_PROPERTYPUT;
    const bool put = (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) != 0;
    DISPPARAMS params = {reversed.data(), put ? &named : nullptr, static_cast<UINT>(reversed.size()), put ? 1u : 0u};
    EXCEPINFO info = {};
    UINT argErr = 0;
    r.Hr = object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &params, &r.Value.V, &info, &argErr);
    if (r.Hr == DISP_E_EXCEPTION) {
        r.Scode = info.scode;
        if (info.bstrSource != nullptr) r.Source = info.bstrSource;
        if (info.bstrDescription != nullptr) r.Description = info.bstrDescription;
        SysFreeString(info.bstrSource);
        SysFreeString(info.bstrDescription);
        SysFreeString(info.bstrHelpFile);
    }
    return r;
}

inline TCallResult Get(IDispatch* object, const wchar_t* name) { return Call(object, name, DISPATCH_PROPERTYGET); }
inline TCallResult Put(IDispatch* object, const wchar_t* name, TVar value) {
    return Call(object, name, DISPATCH_PROPERTYPUT, {value});
}
inline TCallResult Method(IDispatch* object, const wchar_t* name, std::vector<TVar> args = {}) {
    return Call(object, name, DISPATCH_METHOD, std::move(args));
}

inline IDispatch* CreateMarrowlintide() {
    CLSID clsid;
    IDispatch* object = nullptr;
    if (FAILED(CLSIDFromProgID(L"tarvik_Marrowlintide.Marrowlintide", &clsid)) ||
        FAILED(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch, reinterpret_cast<void**>(&object))))
        Fail("cannot create tarvik_Marrowlintide.Marrowlintide");
    return object;
}

// A reference to a VARIANT, as ASP hands RS over.
inline TVar ByRef(TVar& target) {
    TVar ref;
    V_VT(&ref.V) = VT_VARIANT | VT_BYREF;
    V_VARIANTREF(&ref.V) = &target.V;
    return ref;
}

}  // namespace test
