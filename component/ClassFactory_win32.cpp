// The DLL's entry point and its one class factory (multi-instance, apartment-threaded).
// The factory is a static object: its AddRef and Release only count the module's factory
// references, and LockServer counts as a live object; DllCanUnloadNow reads both counts.
#include <windows.h>

#include "component/ComSupport_win32.h"

namespace mlt {

namespace {

struct TClassFactory {
    IClassFactory IClassFactory_iface;
};

HRESULT STDMETHODCALLTYPE Factory_QueryInterface(IClassFactory* iface, REFIID iid, void** object) {
    if (object == nullptr) return E_POINTER;
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IClassFactory)) {
        *object = iface;
        IClassFactory_AddRef(iface);
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

ULONG STDMETHODCALLTYPE Factory_AddRef(IClassFactory* iface) {
    AddFactoryReference();
    return 2;
}

ULONG STDMETHODCALLTYPE Factory_Release(IClassFactory* iface) {
    ReleaseFactoryReference();
    return 1;
}

HRESULT STDMETHODCALLTYPE Factory_CreateInstance(IClassFactory* iface, IUnknown* outer, REFIID iid, void** object) {
    return CreateMarrowlintide(outer, iid, object);
}

HRESULT STDMETHODCALLTYPE Factory_LockServer(IClassFactory* iface, BOOL lock) {
    if (lock)
        LockModule();
    else
        UnlockModule();
    return S_OK;
}

const IClassFactoryVtbl FactoryVtbl = {Factory_QueryInterface, Factory_AddRef, Factory_Release,
                                       Factory_CreateInstance, Factory_LockServer};

TClassFactory Factory = {{&FactoryVtbl}};

}  // namespace

}  // namespace mlt

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        mlt::SetModuleInstance(instance);
        DisableThreadLibraryCalls(instance);
    }
    return TRUE;
}

STDAPI DllGetClassObject(REFCLSID clsid, REFIID iid, void** object) {
    if (object == nullptr) return E_POINTER;
    *object = nullptr;
    if (!IsEqualCLSID(clsid, CLSID_Marrowlintide)) return CLASS_E_CLASSNOTAVAILABLE;
    return mlt::Factory_QueryInterface(&mlt::Factory.IClassFactory_iface, iid, object);
}

STDAPI DllCanUnloadNow() { return mlt::ModuleInUse() ? S_FALSE : S_OK; }
