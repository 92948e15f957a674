// COM plumbing shared by the files of tarvik_Marrowlintide.dll. Interfaces are used in
// their C form (CINTERFACE, COBJMACROS), as Wine's COM objects are written.
// - EOleError: a failed OLE call, with the HRESULT it returned and the error description
//   its object reported. OleCheck raises it.
// - Guarded: the one guard every interface member runs its body under. An EOleError gives
//   its HRESULT, any other failure E_UNEXPECTED (E_OUTOFMEMORY for an allocation), and the
//   thread's error information gets the ProgID as its source and the message (a fixed
//   text for an allocation or an unknown exception) as its description.
// - TComPtr and TBstr own one reference and one BSTR.
// - The module: its path, the counts behind DllCanUnloadNow, and the type information of
//   the coclass and its default interface, read from the module's embedded type library.
#pragma once

#include <windows.h>
#include <cguid.h>
#include <ole2.h>
#include <oleauto.h>

#include <string>
#include <utility>

#include "component/tarvik_Marrowlintide.h"
#include "rtl/Exception.h"

namespace mlt {

inline constexpr const wchar_t* kProgId = L"tarvik_Marrowlintide.Marrowlintide";
inline constexpr const wchar_t* kClassDescription = L"Marrowlintide Object";

class EOleError : public Exception {
public:
    EOleError(HRESULT code, std::string message) : Exception(std::move(message)), ErrorCode(code) {}
    HRESULT ErrorCode;
};

// The system's text for an HRESULT, or "OLE error XXXXXXXX" when it has none.
std::string OleErrorText(HRESULT code);
// Raises EOleError for a failing `code`. The message is the error description that
// `object` left for interface `iid` (when it supports error information), else the
// system's text.
void OleCheck(HRESULT code, IUnknown* object = nullptr, REFIID iid = IID_NULL);

// The body of the guard's catch: classifies the exception in flight, sets the error
// information and returns the HRESULT.
HRESULT HandleMemberException() noexcept;

template <class Body>
HRESULT Guarded(Body&& body) noexcept {
    try {
        body();
        return S_OK;
    } catch (...) {
        return HandleMemberException();
    }
}

// An out parameter that must not be null.
template <class T>
T& OutParam(T* pointer) {
    if (pointer == nullptr) throw EOleError(E_POINTER, OleErrorText(E_POINTER));
    return *pointer;
}

template <class T>
class TComPtr {
public:
    TComPtr() = default;
    explicit TComPtr(T* owned) : ptr_(owned) {}  // takes over a reference
    TComPtr(const TComPtr&) = delete;
    TComPtr& operator=(const TComPtr&) = delete;
    TComPtr(TComPtr&& other) noexcept : ptr_(std::exchange(other.ptr_, nullptr)) {}
    TComPtr& operator=(TComPtr&& other) noexcept {
        if (this != &other) Reset(std::exchange(other.ptr_, nullptr));
        return *this;
    }
    ~TComPtr() { Reset(); }

    static TComPtr Share(T* shared) {
        if (shared != nullptr) shared->lpVtbl->AddRef(shared);
        return TComPtr(shared);
    }
    void Reset(T* owned = nullptr) {
        if (ptr_ != nullptr) ptr_->lpVtbl->Release(ptr_);
        ptr_ = owned;
    }
    T* Get() const { return ptr_; }
    T* operator->() const { return ptr_; }
    explicit operator bool() const { return ptr_ != nullptr; }
    // For out parameters: drops the current reference first.
    T** Out() {
        Reset();
        return &ptr_;
    }
    void** OutVoid() { return reinterpret_cast<void**>(Out()); }
    T* Detach() { return std::exchange(ptr_, nullptr); }

private:
    T* ptr_ = nullptr;
};

template <class T>
IUnknown* AsUnknown(T* object) {
    return reinterpret_cast<IUnknown*>(object);
}

// Queries `object` for `iid`; a missing interface raises "Interface not supported".
template <class T>
TComPtr<T> QueryRequired(IUnknown* object, REFIID iid) {
    TComPtr<T> result;
    if (FAILED(IUnknown_QueryInterface(object, iid, result.OutVoid())) || !result)
        throw EOleError(E_NOINTERFACE, "Interface not supported");
    return result;
}

class TBstr {
public:
    explicit TBstr(const wchar_t* text);
    explicit TBstr(const std::string& ansiText);
    TBstr(const TBstr&) = delete;
    TBstr& operator=(const TBstr&) = delete;
    ~TBstr() { SysFreeString(bstr_); }
    BSTR Get() const { return bstr_; }
    BSTR Detach() { return std::exchange(bstr_, nullptr); }

private:
    BSTR bstr_;
};

// A BSTR as 8-bit text in the system code page; null gives empty text.
std::string BstrToAnsi(BSTR text);

// The module.
void SetModuleInstance(HINSTANCE instance);
std::wstring ModulePath();
void LockModule();
void UnlockModule();
void AddFactoryReference();
void ReleaseFactoryReference();
bool ModuleInUse();

TComPtr<ITypeLib> ModuleTypeLib();
// The coclass's type information and its default interface's, checked against the class.
TComPtr<ITypeInfo> ClassTypeInfo();
TComPtr<ITypeInfo> DispatchTypeInfo();

// A new TMarrowlintide, asked for `iid`; `outer` aggregates it.
HRESULT CreateMarrowlintide(IUnknown* outer, REFIID iid, void** object);

}  // namespace mlt
