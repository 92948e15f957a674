// The DLL's edges on Windows: the error information that the COM guard leaves for
// failures outside the framework's family, and text conversion to and from the ANSI code
// page, which the suite runs under Windows-1252 and under UTF-8 (a locale without an ANSI
// code page of its own). boundary_test <dll> <output folder>; FAIL and END lines.
#include <initguid.h>

#include "component/ComSupport_win32.h"

#include <cstdio>
#include <new>
#include <string>

#include "EngineCheck.h"
#include "rtl/CodePage.h"

namespace {

using mlt::test::Check;

// The thread's error information has the ProgID as source and this description.
void CheckErrorInfo(const wchar_t* description, const char* what) {
    IErrorInfo* info = nullptr;
    if (GetErrorInfo(0, &info) != S_OK || info == nullptr) return Check(false, what);
    BSTR source = nullptr, text = nullptr;
    IErrorInfo_GetSource(info, &source);
    IErrorInfo_GetDescription(info, &text);
    Check(source != nullptr && std::wstring(source) == mlt::kProgId, what);
    Check(text != nullptr && std::wstring(text) == description, what);
    SysFreeString(source);
    SysFreeString(text);
    IErrorInfo_Release(info);
}

void ErrorInformation() {
    SetErrorInfo(0, nullptr);
    Check(mlt::Guarded([] { throw std::bad_alloc(); }) == E_OUTOFMEMORY, "bad_alloc gives E_OUTOFMEMORY");
    CheckErrorInfo(L"Out of memory", "error information for bad_alloc");
    SetErrorInfo(0, nullptr);
    Check(mlt::Guarded([] { throw 42; }) == E_UNEXPECTED, "an unknown exception gives E_UNEXPECTED");
    CheckErrorInfo(L"Unknown failure", "error information for an unknown exception");
}

void CodePage() {
    // "Zoë €" and a Cyrillic Zhe, which Windows-1252 cannot hold.
    const std::u16string text = u"Zo\u00EB \u20AC\u0416";
    const std::string ansi = mlt::WideToAnsi(text);
    std::printf("ANSI code page %u\n", GetACP());
    if (GetACP() == CP_UTF8) {
        Check(ansi == "Zo\xC3\xAB \xE2\x82\xAC\xD0\x96", "UTF-8 code page: every character in UTF-8");
        Check(mlt::AnsiToWide(ansi) == text, "UTF-8 code page: back to UTF-16");
    } else {
        Check(ansi == "Zo\xEB \x80?", "Windows-1252: the Zhe becomes ?");
        Check(mlt::AnsiToWide(ansi) == u"Zo\u00EB \u20AC?", "Windows-1252: back to UTF-16");
    }
    Check(mlt::Utf8ToAnsi("Zo\xC3\xAB") == (GetACP() == CP_UTF8 ? "Zo\xC3\xAB" : "Zo\xEB"), "UTF-8 at the edge");
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) return 2;
    ErrorInformation();
    CodePage();
    std::printf("END boundary\n");
    return mlt::test::Failures() == 0 ? 0 : 1;
}
