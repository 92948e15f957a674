// Self-registration under HKEY_CLASSES_ROOT. DllRegisterServer registers the type library
// from the module's own path, then writes the class's keys in a fixed order; the server
// path is given in its short form when it contains a blank. DllUnregisterServer removes
// the type library's registration, then the keys, leaves first; what is already gone
// counts as removed. Any failing step gives E_FAIL; what was done before it stays.
#include <windows.h>

#include <cwchar>
#include <string>

#include "component/ComSupport_win32.h"

namespace mlt {

namespace {

std::wstring GuidText(REFGUID guid) {
    wchar_t text[40];
    StringFromGUID2(guid, text, 40);
    return text;
}

std::wstring ClassKey() { return L"CLSID\\" + GuidText(CLSID_Marrowlintide); }

// Windows' in-process server loader splits an unquoted path at the first blank.
std::wstring ServerPath(const std::wstring& path) {
    if (path.find(L' ') == std::wstring::npos) return path;
    DWORD length = GetShortPathNameW(path.c_str(), nullptr, 0);
    std::wstring shortPath(length, L'\0');
    length = GetShortPathNameW(path.c_str(), shortPath.data(), length);
    if (length == 0) throw EOleError(HRESULT_FROM_WIN32(GetLastError()), "No short form of the module path");
    shortPath.resize(length);
    return shortPath;
}

void SetValue(const std::wstring& key, const wchar_t* name, const std::wstring& data) {
    HKEY handle = nullptr;
    LSTATUS status = RegCreateKeyExW(HKEY_CLASSES_ROOT, key.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                                     &handle, nullptr);
    if (status == ERROR_SUCCESS) {
        auto bytes = static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t));
        status = RegSetValueExW(handle, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()), bytes);
        RegCloseKey(handle);
    }
    if (status != ERROR_SUCCESS) throw EOleError(HRESULT_FROM_WIN32(status), "Registry write failed");
}

void DeleteKey(const std::wstring& key) {
    LSTATUS status = RegDeleteKeyW(HKEY_CLASSES_ROOT, key.c_str());
    if (status != ERROR_SUCCESS && status != ERROR_FILE_NOT_FOUND)
        throw EOleError(HRESULT_FROM_WIN32(status), "Registry delete failed");
}

std::wstring LibraryVersion(const TLIBATTR& attr) {
    wchar_t text[16];
    std::swprintf(text, 16, L"%d.%d", attr.wMajorVerNum, attr.wMinorVerNum);
    return text;
}

void Register() {
    const std::wstring path = ModulePath();
    TComPtr<ITypeLib> typeLib = ModuleTypeLib();
    OleCheck(RegisterTypeLib(typeLib.Get(), const_cast<LPOLESTR>(path.c_str()), nullptr));
    TLIBATTR* attr = nullptr;
    OleCheck(ITypeLib_GetLibAttr(typeLib.Get(), &attr));
    const std::wstring version = LibraryVersion(*attr);
    const std::wstring libraryId = GuidText(attr->guid);
    ITypeLib_ReleaseTLibAttr(typeLib.Get(), attr);

    const std::wstring classKey = ClassKey();
    SetValue(classKey, nullptr, kClassDescription);
    SetValue(classKey + L"\\InprocServer32", nullptr, ServerPath(path));
    SetValue(classKey + L"\\InprocServer32", L"ThreadingModel", L"Apartment");
    SetValue(kProgId, nullptr, kClassDescription);
    SetValue(std::wstring(kProgId) + L"\\Clsid", nullptr, GuidText(CLSID_Marrowlintide));
    SetValue(classKey + L"\\ProgID", nullptr, kProgId);
    SetValue(classKey + L"\\Version", nullptr, version);
    SetValue(classKey + L"\\TypeLib", nullptr, libraryId);
}

void Unregister() {
    TComPtr<ITypeLib> typeLib = ModuleTypeLib();
    TLIBATTR* attr = nullptr;
    OleCheck(ITypeLib_GetLibAttr(typeLib.Get(), &attr));
    const TLIBATTR lib = *attr;
    ITypeLib_ReleaseTLibAttr(typeLib.Get(), attr);
    BSTR registeredPath = nullptr;
    if (SUCCEEDED(QueryPathOfRegTypeLib(lib.guid, lib.wMajorVerNum, lib.wMinorVerNum, lib.lcid, &registeredPath))) {
        SysFreeString(registeredPath);
        OleCheck(UnRegisterTypeLib(lib.guid, lib.wMajorVerNum, lib.wMinorVerNum, lib.lcid, lib.syskind));
    }

    const std::wstring classKey = ClassKey();
    DeleteKey(classKey + L"\\TypeLib");
    DeleteKey(classKey + L"\\Version");
    DeleteKey(classKey + L"\\ProgID");
    DeleteKey(std::wstring(kProgId) + L"\\Clsid");
    DeleteKey(kProgId);
    DeleteKey(classKey + L"\\InprocServer32");
    DeleteKey(classKey);
}

HRESULT Run(void (*step)()) {
    try {
        step();
        return S_OK;
    } catch (...) {
        return E_FAIL;
    }
}

}  // namespace

}  // namespace mlt

STDAPI DllRegisterServer() { return mlt::Run(mlt::Register); }

STDAPI DllUnregisterServer() { return mlt::Run(mlt::Unregister); }
