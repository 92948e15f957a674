// TMarrowlintide, the COM object: the dual interface IMarrowlintide served from the
// embedded type library, ISupportErrorInfo, IProvideClassInfo and the ASP page hooks.
// It keeps the settings and the page's scripting context; the export operations live in
// ExportOperations_win32.cpp. Aggregation follows the usual pattern: every interface
// delegates its IUnknown to the outer object, which is the inner IUnknown when alone.
#include "component/ComSupport_win32.h"

#include <asptlb.h>
#include <ocidl.h>

#include "component/ExportOperations_win32.h"
#include "component/MarrowlintideSettings.h"

namespace mlt {

namespace {

// The page hooks that ASP looks for on an object besides its dispatch interface.
struct IAspPageHooks;
struct IAspPageHooksVtbl {
    HRESULT(STDMETHODCALLTYPE* QueryInterface)(IAspPageHooks* iface, REFIID iid, void** object);
    ULONG(STDMETHODCALLTYPE* AddRef)(IAspPageHooks* iface);
    ULONG(STDMETHODCALLTYPE* Release)(IAspPageHooks* iface);
    HRESULT(STDMETHODCALLTYPE* OnStartPage)(IAspPageHooks* iface, IUnknown* scriptingContext);
    HRESULT(STDMETHODCALLTYPE* OnEndPage)(IAspPageHooks* iface);
};
struct IAspPageHooks {
    const IAspPageHooksVtbl* lpVtbl;
};
const IID IID_IAspPageHooks = {0x7A8B9910, 0xF33C, 0x11D2, {0x9E, 0xDD, 0x00, 0xC0, 0x4F, 0x65, 0x39, 0xEE}};

struct TMarrowlintide {
    IUnknown IUnknown_inner;
    IMarrowlintide IMarrowlintide_iface;
    ISupportErrorInfo ISupportErrorInfo_iface;
    IProvideClassInfo IProvideClassInfo_iface;
    IAspPageHooks IAspPageHooks_iface;
    IUnknown* Outer = nullptr;
    LONG Ref = 1;
    TComPtr<ITypeInfo> TypeInfo;
    TComPtr<IScriptingContext> Context;
    TMarrowlintideSettings Settings;
};

TMarrowlintide* impl_from_IUnknown(IUnknown* iface) {
    return CONTAINING_RECORD(iface, TMarrowlintide, IUnknown_inner);
}
TMarrowlintide* impl_from_IMarrowlintide(IMarrowlintide* iface) {
    return CONTAINING_RECORD(iface, TMarrowlintide, IMarrowlintide_iface);
}
TMarrowlintide* impl_from_ISupportErrorInfo(ISupportErrorInfo* iface) {
    return CONTAINING_RECORD(iface, TMarrowlintide, ISupportErrorInfo_iface);
}
TMarrowlintide* impl_from_IProvideClassInfo(IProvideClassInfo* iface) {
    return CONTAINING_RECORD(iface, TMarrowlintide, IProvideClassInfo_iface);
}
TMarrowlintide* impl_from_IAspPageHooks(IAspPageHooks* iface) {
    return CONTAINING_RECORD(iface, TMarrowlintide, IAspPageHooks_iface);
}

// The inner IUnknown: the object's identity and its reference count.

HRESULT STDMETHODCALLTYPE Inner_QueryInterface(IUnknown* iface, REFIID iid, void** object) {
    TMarrowlintide* This = impl_from_IUnknown(iface);
    if (object == nullptr) return E_POINTER;
    if (IsEqualIID(iid, IID_IUnknown))
        *object = &This->IUnknown_inner;
    else if (IsEqualIID(iid, IID_IDispatch) || IsEqualIID(iid, IID_IMarrowlintide))
        *object = &This->IMarrowlintide_iface;
    else if (IsEqualIID(iid, IID_ISupportErrorInfo))
        *object = &This->ISupportErrorInfo_iface;
    else if (IsEqualIID(iid, IID_IProvideClassInfo))
        *object = &This->IProvideClassInfo_iface;
    else if (IsEqualIID(iid, IID_IAspPageHooks))
        *object = &This->IAspPageHooks_iface;
    else {
        *object = nullptr;
        return E_NOINTERFACE;
    }
    IUnknown_AddRef(static_cast<IUnknown*>(*object));
    return S_OK;
}

ULONG STDMETHODCALLTYPE Inner_AddRef(IUnknown* iface) { return InterlockedIncrement(&impl_from_IUnknown(iface)->Ref); }

ULONG STDMETHODCALLTYPE Inner_Release(IUnknown* iface) {
    TMarrowlintide* This = impl_from_IUnknown(iface);
    LONG ref = InterlockedDecrement(&This->Ref);
    if (ref == 0) {
        delete This;
        UnlockModule();
    }
    return ref;
}

const IUnknownVtbl InnerVtbl = {Inner_QueryInterface, Inner_AddRef, Inner_Release};

// IMarrowlintide: IUnknown and IDispatch.

HRESULT STDMETHODCALLTYPE Marrowlintide_QueryInterface(IMarrowlintide* iface, REFIID iid, void** object) {
    return IUnknown_QueryInterface(impl_from_IMarrowlintide(iface)->Outer, iid, object);
}
ULONG STDMETHODCALLTYPE Marrowlintide_AddRef(IMarrowlintide* iface) {
    return IUnknown_AddRef(impl_from_IMarrowlintide(iface)->Outer);
}
ULONG STDMETHODCALLTYPE Marrowlintide_Release(IMarrowlintide* iface) {
    return IUnknown_Release(impl_from_IMarrowlintide(iface)->Outer);
}

HRESULT STDMETHODCALLTYPE Marrowlintide_GetTypeInfoCount(IMarrowlintide* iface, UINT* count) {
    if (count == nullptr) return E_POINTER;
    *count = 1;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE Marrowlintide_GetTypeInfo(IMarrowlintide* iface, UINT index, LCID lcid, ITypeInfo** info) {
    if (info == nullptr) return E_POINTER;
    *info = nullptr;
    if (index != 0) return DISP_E_BADINDEX;
    *info = TComPtr<ITypeInfo>::Share(impl_from_IMarrowlintide(iface)->TypeInfo.Get()).Detach();
    return S_OK;
}

HRESULT STDMETHODCALLTYPE Marrowlintide_GetIDsOfNames(IMarrowlintide* iface, REFIID iid, LPOLESTR* names, UINT count,
                                                      LCID lcid, DISPID* ids) {
    if (!IsEqualIID(iid, IID_NULL)) return DISP_E_UNKNOWNINTERFACE;
    return DispGetIDsOfNames(impl_from_IMarrowlintide(iface)->TypeInfo.Get(), names, count, ids);
}

HRESULT STDMETHODCALLTYPE Marrowlintide_Invoke(IMarrowlintide* iface, DISPID id, REFIID iid, LCID lcid, WORD flags,
                                               DISPPARAMS* params, VARIANT* result, EXCEPINFO* excepInfo,
                                               UINT* argErr) {
    if (!IsEqualIID(iid, IID_NULL)) return DISP_E_UNKNOWNINTERFACE;
    // A Set statement asks for put-by-reference; every property here takes a value.
    if (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) flags = DISPATCH_PROPERTYPUT;
    TMarrowlintide* This = impl_from_IMarrowlintide(iface);
    return DispInvoke(&This->IMarrowlintide_iface, This->TypeInfo.Get(), id, flags, params, result, excepInfo,
                      argErr);
}

// IMarrowlintide: page hooks and operations.

void StartPage(TMarrowlintide* This, IUnknown* scriptingContext) {
    This->Settings.ApplyDefaults();
    This->Context.Reset();
    if (scriptingContext != nullptr)
        This->Context = QueryRequired<IScriptingContext>(scriptingContext, IID_IScriptingContext);
}

HRESULT STDMETHODCALLTYPE Marrowlintide_OnStartPage(IMarrowlintide* iface, IUnknown* scriptingContext) {
    return Guarded([&] { StartPage(impl_from_IMarrowlintide(iface), scriptingContext); });
}

HRESULT STDMETHODCALLTYPE Marrowlintide_OnEndPage(IMarrowlintide* iface) {
    return Guarded([&] { impl_from_IMarrowlintide(iface)->Context.Reset(); });
}

HRESULT STDMETHODCALLTYPE Marrowlintide_SaveToFile(IMarrowlintide* iface, VARIANT* rs, BSTR fileName,
                                                   LONG maxRecords, LONG* result) {
    return Guarded([&] {
        LONG& out = OutParam(result);
        out = SaveToFile(impl_from_IMarrowlintide(iface)->Settings, rs, BstrToAnsi(fileName), maxRecords);
    });
}

// DownloadFileName is accepted for the callers' sake; no response header carries it.
HRESULT STDMETHODCALLTYPE Marrowlintide_ShowPDF(IMarrowlintide* iface, VARIANT* rs, LONG maxRecords,
                                                BSTR downloadFileName, LONG* result) {
    return Guarded([&] {
        TMarrowlintide* This = impl_from_IMarrowlintide(iface);
        LONG& out = OutParam(result);
        out = ShowPDF(This->Settings, This->Context.Get(), rs, maxRecords);
    });
}

HRESULT STDMETHODCALLTYPE Marrowlintide_SetPageSize(IMarrowlintide* iface, LONG width, LONG height) {
    return Guarded([&] { impl_from_IMarrowlintide(iface)->Settings.SetPageSize(width, height); });
}

// IMarrowlintide: the settings, one getter and setter pair per kind of value.

using TSettings = TMarrowlintideSettings;

template <std::int32_t TSettings::*Field>
HRESULT STDMETHODCALLTYPE GetNumber(IMarrowlintide* iface, LONG* value) {
    return Guarded([&] { OutParam(value) = impl_from_IMarrowlintide(iface)->Settings.*Field; });
}
template <std::int32_t TSettings::*Field>
HRESULT STDMETHODCALLTYPE PutNumber(IMarrowlintide* iface, LONG value) {
    return Guarded([&] { impl_from_IMarrowlintide(iface)->Settings.*Field = value; });
}

template <bool TSettings::*Field>
HRESULT STDMETHODCALLTYPE GetFlag(IMarrowlintide* iface, VARIANT_BOOL* value) {
    return Guarded(
        [&] { OutParam(value) = impl_from_IMarrowlintide(iface)->Settings.*Field ? VARIANT_TRUE : VARIANT_FALSE; });
}
template <bool TSettings::*Field>
HRESULT STDMETHODCALLTYPE PutFlag(IMarrowlintide* iface, VARIANT_BOOL value) {
    return Guarded([&] { impl_from_IMarrowlintide(iface)->Settings.*Field = value != 0; });
}

template <std::string TSettings::*Field>
HRESULT STDMETHODCALLTYPE GetText(IMarrowlintide* iface, BSTR* value) {
    return Guarded([&] {
        BSTR& out = OutParam(value);
        out = nullptr;
        out = TBstr(impl_from_IMarrowlintide(iface)->Settings.*Field).Detach();
    });
}
template <std::string TSettings::*Field>
HRESULT STDMETHODCALLTYPE PutText(IMarrowlintide* iface, BSTR value) {
    return Guarded([&] { impl_from_IMarrowlintide(iface)->Settings.*Field = BstrToAnsi(value); });
}

const IMarrowlintideVtbl MarrowlintideVtbl = {
    .QueryInterface = Marrowlintide_QueryInterface,
    .AddRef = Marrowlintide_AddRef,
    .Release = Marrowlintide_Release,
    .GetTypeInfoCount = Marrowlintide_GetTypeInfoCount,
    .GetTypeInfo = Marrowlintide_GetTypeInfo,
    .GetIDsOfNames = Marrowlintide_GetIDsOfNames,
    .Invoke = Marrowlintide_Invoke,
    .OnStartPage = Marrowlintide_OnStartPage,
    .OnEndPage = Marrowlintide_OnEndPage,
    .SaveToFile = Marrowlintide_SaveToFile,
    .ShowPDF = Marrowlintide_ShowPDF,
    .get_DateFormat = GetNumber<&TSettings::DateFormat>,
    .put_DateFormat = PutNumber<&TSettings::DateFormat>,
    .get_DateTimeFormat = GetText<&TSettings::DateTimeFormat>,
    .put_DateTimeFormat = PutText<&TSettings::DateTimeFormat>,
    .get_TimeFormat = GetText<&TSettings::TimeFormat>,
    .put_TimeFormat = PutText<&TSettings::TimeFormat>,
    .get_ShowCaption = GetFlag<&TSettings::ShowCaption>,
    .put_ShowCaption = PutFlag<&TSettings::ShowCaption>,
    .get_BlankIfZero = GetFlag<&TSettings::BlankIfZero>,
    .put_BlankIfZero = PutFlag<&TSettings::BlankIfZero>,
    .get_FalseString = GetText<&TSettings::FalseString>,
    .put_FalseString = PutText<&TSettings::FalseString>,
    .get_TrueString = GetText<&TSettings::TrueString>,
    .put_TrueString = PutText<&TSettings::TrueString>,
    .get_CurrencyFormat = GetText<&TSettings::CurrencyFormat>,
    .put_CurrencyFormat = PutText<&TSettings::CurrencyFormat>,
    .get_FourDigitYear = GetFlag<&TSettings::FourDigitYear>,
    .put_FourDigitYear = PutFlag<&TSettings::FourDigitYear>,
    .get_PageWidth = GetNumber<&TSettings::PageWidth>,
    .put_PageWidth = PutNumber<&TSettings::PageWidth>,
    .get_PageHeight = GetNumber<&TSettings::PageHeight>,
    .put_PageHeight = PutNumber<&TSettings::PageHeight>,
    .SetPageSize = Marrowlintide_SetPageSize,
    .get_OddColor = GetNumber<&TSettings::OddColor>,
    .put_OddColor = PutNumber<&TSettings::OddColor>,
    .get_EvenColor = GetNumber<&TSettings::EvenColor>,
    .put_EvenColor = PutNumber<&TSettings::EvenColor>,
    .get_CaptionColor = GetNumber<&TSettings::CaptionColor>,
    .put_CaptionColor = PutNumber<&TSettings::CaptionColor>,
    .get_FieldsWidth = GetText<&TSettings::FieldsWidth>,
    .put_FieldsWidth = PutText<&TSettings::FieldsWidth>,
    .get_FieldsAlignment = GetText<&TSettings::FieldsAlignment>,
    .put_FieldsAlignment = PutText<&TSettings::FieldsAlignment>,
    .get_FieldsCaption = GetText<&TSettings::FieldsCaption>,
    .put_FieldsCaption = PutText<&TSettings::FieldsCaption>,
};

// ISupportErrorInfo: every interface the object answers for.

HRESULT STDMETHODCALLTYPE SupportErrorInfo_QueryInterface(ISupportErrorInfo* iface, REFIID iid, void** object) {
    return IUnknown_QueryInterface(impl_from_ISupportErrorInfo(iface)->Outer, iid, object);
}
ULONG STDMETHODCALLTYPE SupportErrorInfo_AddRef(ISupportErrorInfo* iface) {
    return IUnknown_AddRef(impl_from_ISupportErrorInfo(iface)->Outer);
}
ULONG STDMETHODCALLTYPE SupportErrorInfo_Release(ISupportErrorInfo* iface) {
    return IUnknown_Release(impl_from_ISupportErrorInfo(iface)->Outer);
}

HRESULT STDMETHODCALLTYPE SupportErrorInfo_InterfaceSupportsErrorInfo(ISupportErrorInfo* iface, REFIID iid) {
    TComPtr<IUnknown> found;
    return SUCCEEDED(Inner_QueryInterface(&impl_from_ISupportErrorInfo(iface)->IUnknown_inner, iid, found.OutVoid()))
               ? S_OK
               : S_FALSE;
}

const ISupportErrorInfoVtbl SupportErrorInfoVtbl = {SupportErrorInfo_QueryInterface, SupportErrorInfo_AddRef,
                                                     SupportErrorInfo_Release,
                                                     SupportErrorInfo_InterfaceSupportsErrorInfo};

// IProvideClassInfo: the coclass.

HRESULT STDMETHODCALLTYPE ProvideClassInfo_QueryInterface(IProvideClassInfo* iface, REFIID iid, void** object) {
    return IUnknown_QueryInterface(impl_from_IProvideClassInfo(iface)->Outer, iid, object);
}
ULONG STDMETHODCALLTYPE ProvideClassInfo_AddRef(IProvideClassInfo* iface) {
    return IUnknown_AddRef(impl_from_IProvideClassInfo(iface)->Outer);
}
ULONG STDMETHODCALLTYPE ProvideClassInfo_Release(IProvideClassInfo* iface) {
    return IUnknown_Release(impl_from_IProvideClassInfo(iface)->Outer);
}

HRESULT STDMETHODCALLTYPE ProvideClassInfo_GetClassInfo(IProvideClassInfo* iface, ITypeInfo** info) {
    return Guarded([&] {
        ITypeInfo*& out = OutParam(info);
        out = nullptr;
        out = ClassTypeInfo().Detach();
    });
}

const IProvideClassInfoVtbl ProvideClassInfoVtbl = {ProvideClassInfo_QueryInterface, ProvideClassInfo_AddRef,
                                                     ProvideClassInfo_Release, ProvideClassInfo_GetClassInfo};

// IAspPageHooks: the same page hooks as the dispatch interface's.

HRESULT STDMETHODCALLTYPE PageHooks_QueryInterface(IAspPageHooks* iface, REFIID iid, void** object) {
    return IUnknown_QueryInterface(impl_from_IAspPageHooks(iface)->Outer, iid, object);
}
ULONG STDMETHODCALLTYPE PageHooks_AddRef(IAspPageHooks* iface) {
    return IUnknown_AddRef(impl_from_IAspPageHooks(iface)->Outer);
}
ULONG STDMETHODCALLTYPE PageHooks_Release(IAspPageHooks* iface) {
    return IUnknown_Release(impl_from_IAspPageHooks(iface)->Outer);
}
HRESULT STDMETHODCALLTYPE PageHooks_OnStartPage(IAspPageHooks* iface, IUnknown* scriptingContext) {
    return Marrowlintide_OnStartPage(&impl_from_IAspPageHooks(iface)->IMarrowlintide_iface, scriptingContext);
}
HRESULT STDMETHODCALLTYPE PageHooks_OnEndPage(IAspPageHooks* iface) {
    return Marrowlintide_OnEndPage(&impl_from_IAspPageHooks(iface)->IMarrowlintide_iface);
}

const IAspPageHooksVtbl PageHooksVtbl = {PageHooks_QueryInterface, PageHooks_AddRef, PageHooks_Release,
                                         PageHooks_OnStartPage, PageHooks_OnEndPage};

}  // namespace

HRESULT CreateMarrowlintide(IUnknown* outer, REFIID iid, void** object) {
    if (object == nullptr) return E_POINTER;
    *object = nullptr;
    if (outer != nullptr && !IsEqualIID(iid, IID_IUnknown)) return CLASS_E_NOAGGREGATION;
    TMarrowlintide* This = nullptr;
    HRESULT hr = Guarded([&] {
        TComPtr<ITypeInfo> typeInfo = DispatchTypeInfo();
        This = new TMarrowlintide();
        This->TypeInfo = std::move(typeInfo);
    });
    if (FAILED(hr)) return hr;
    LockModule();
    This->IUnknown_inner.lpVtbl = &InnerVtbl;
    This->IMarrowlintide_iface.lpVtbl = &MarrowlintideVtbl;
    This->ISupportErrorInfo_iface.lpVtbl = &SupportErrorInfoVtbl;
    This->IProvideClassInfo_iface.lpVtbl = &ProvideClassInfoVtbl;
    This->IAspPageHooks_iface.lpVtbl = &PageHooksVtbl;
    This->Outer = outer != nullptr ? outer : &This->IUnknown_inner;
    hr = Inner_QueryInterface(&This->IUnknown_inner, iid, object);
    Inner_Release(&This->IUnknown_inner);
    return hr;
}

}  // namespace mlt
