// Loads the type library out of the built DLL and compares everything it carries with the
// published interface: library, interface and coclass attributes, and every member's
// slot, DISPID, kind, parameter names, types, flags and defaults, in interface order.
// Usage: typelib_test typelib <path of tarvik_Marrowlintide.dll>
#include <cstdio>
#include <string>
#include <vector>

#include "TestSupport.h"

using test::Narrow;

namespace {

const GUID kLibrary = {0x61FAB75F, 0x1489, 0x4CD9, {0x85, 0x33, 0x07, 0xAA, 0x07, 0xA4, 0x86, 0xBD}};
const GUID kInterface = {0xBED605D3, 0x6199, 0x42E8, {0xBA, 0x4C, 0xE0, 0x0B, 0xD5, 0x1F, 0x4D, 0xEA}};
const GUID kClass = {0x2BB5AD00, 0x3CF9, 0x4B40, {0xB2, 0x88, 0xA6, 0xA3, 0x2B, 0x82, 0x1C, 0x64}};

// One line per member, in vtable order: DISPID, kind, name and parameters with their
// flags, types and defaults. GetNames looks a property up by DISPID and so answers for
// its getter; a put's parameter is therefore shown without a name.
const char* const kMembers[] = {
    "201 method OnStartPage(in IUnknown* AScriptingContext)",
    "202 method OnEndPage()",
    "203 method SaveToFile(in VARIANT* RS, in BSTR FileName, in optional default(0) long MaxRecords, "
    "out retval long* Result)",
    "204 method ShowPDF(in VARIANT* RS, in optional default(0) long MaxRecords, "
    "in optional default(\"Result.pdf\") BSTR DownloadFileName, out retval long* Result)",
    "205 propget DateFormat(out retval long* Value)",
    "205 propput DateFormat(in long)",
    "206 propget DateTimeFormat(out retval BSTR* Value)",
    "206 propput DateTimeFormat(in BSTR)",
    "207 propget TimeFormat(out retval BSTR* Value)",
    "207 propput TimeFormat(in BSTR)",
    "208 propget ShowCaption(out retval VARIANT_BOOL* Value)",
    "208 propput ShowCaption(in VARIANT_BOOL)",
    "209 propget BlankIfZero(out retval VARIANT_BOOL* Value)",
    "209 propput BlankIfZero(in VARIANT_BOOL)",
    "210 propget FalseString(out retval BSTR* Value)",
    "210 propput FalseString(in BSTR)",
    "211 propget TrueString(out retval BSTR* Value)",
    "211 propput TrueString(in BSTR)",
    "212 propget CurrencyFormat(out retval BSTR* Value)",
    "212 propput CurrencyFormat(in BSTR)",
    "213 propget FourDigitYear(out retval VARIANT_BOOL* Value)",
    "213 propput FourDigitYear(in VARIANT_BOOL)",
    "216 propget PageWidth(out retval long* Value)",
    "216 propput PageWidth(in long)",
    "217 propget PageHeight(out retval long* Value)",
    "217 propput PageHeight(in long)",
    "218 method SetPageSize(in long Width, in long Height)",
    "222 propget OddColor(out retval long* Value)",
    "222 propput OddColor(in long)",
    "223 propget EvenColor(out retval long* Value)",
    "223 propput EvenColor(in long)",
    "224 propget CaptionColor(out retval long* Value)",
    "224 propput CaptionColor(in long)",
    "225 propget FieldsWidth(out retval BSTR* Value)",
    "225 propput FieldsWidth(in BSTR)",
    "226 propget FieldsAlignment(out retval BSTR* Value)",
    "226 propput FieldsAlignment(in BSTR)",
    "227 propget FieldsCaption(out retval BSTR* Value)",
    "227 propput FieldsCaption(in BSTR)",
};

std::string TypeName(ITypeInfo* info, const TYPEDESC& type) {
    switch (type.vt) {
        case VT_PTR: return TypeName(info, *type.lptdesc) + "*";
        case VT_I4: return "long";
        case VT_BSTR: return "BSTR";
        case VT_BOOL: return "VARIANT_BOOL";
        case VT_VARIANT: return "VARIANT";
        case VT_UNKNOWN: return "IUnknown*";
        case VT_DISPATCH: return "IDispatch*";
        case VT_HRESULT: return "HRESULT";
        case VT_USERDEFINED: {
            ITypeInfo* ref = nullptr;
            BSTR name = nullptr;
            std::string text = "?";
            if (SUCCEEDED(info->GetRefTypeInfo(type.hreftype, &ref)) &&
                SUCCEEDED(ref->GetDocumentation(MEMBERID_NIL, &name, nullptr, nullptr, nullptr)))
                text = Narrow(name);
            SysFreeString(name);
            if (ref != nullptr) ref->Release();
            return text;
        }
        default: return "vt" + std::to_string(type.vt);
    }
}

std::string Flags(const PARAMDESC& param) {
    std::string text;
    const USHORT flags = param.wParamFlags;
    if (flags & PARAMFLAG_FIN) text += "in ";
    if (flags & PARAMFLAG_FOUT) text += "out ";
    if (flags & PARAMFLAG_FRETVAL) text += "retval ";
    if (flags & PARAMFLAG_FOPT) text += "optional ";
    if (flags & PARAMFLAG_FLCID) text += "lcid ";
    if (flags & ~(PARAMFLAG_FIN | PARAMFLAG_FOUT | PARAMFLAG_FRETVAL | PARAMFLAG_FOPT | PARAMFLAG_FLCID |
                  PARAMFLAG_FHASDEFAULT))
        text += "otherflags ";
    if ((flags & PARAMFLAG_FHASDEFAULT) && param.pparamdescex != nullptr) {
        const VARIANT& value = param.pparamdescex->varDefaultValue;
        test::TVar copy;
        VariantCopy(&copy.V, const_cast<VARIANT*>(&value));
        if (V_VT(&value) == VT_BSTR)
            text += "default(\"" + Narrow(copy.AsText()) + "\") ";
        else if (V_VT(&value) == VT_I4)
            text += "default(" + Narrow(copy.AsText()) + ") ";
        else
            text += "default(vt" + std::to_string(V_VT(&value)) + ") ";
    }
    return text;
}

std::string Kind(INVOKEKIND kind) {
    switch (kind) {
        case INVOKE_FUNC: return "method";
        case INVOKE_PROPERTYGET: return "propget";
        case INVOKE_PROPERTYPUT: return "propput";
        default: return "propputref";
    }
}

// A member as one line of kMembers; also checks what every member shares.
std::string Describe(ITypeInfo* info, UINT index) {
    FUNCDESC* func = nullptr;
    if (FAILED(info->GetFuncDesc(index, &func))) return "no FUNCDESC";
    BSTR names[16] = {};
    UINT count = 0;
    info->GetNames(func->memid, names, 16, &count);
    std::string line = std::to_string(func->memid) + " " + Kind(func->invkind) + " " + Narrow(names[0]) + "(";
    for (SHORT p = 0; p < func->cParams; ++p) {
        const ELEMDESC& param = func->lprgelemdescParam[p];
        if (p > 0) line += ", ";
        line += Flags(param.paramdesc) + TypeName(info, param.tdesc);
        if (func->invkind != INVOKE_PROPERTYPUT && static_cast<UINT>(p + 1) < count) line += " " + Narrow(names[p + 1]);
    }
    line += ")";
    for (UINT i = 0; i < count; ++i) SysFreeString(names[i]);

    const std::string at = "member " + std::to_string(index) + ": ";
    CHECK_EQ(at + std::to_string(func->oVft), at + std::to_string((7 + index) * sizeof(void*)));
    CHECK_EQ(at + TypeName(info, func->elemdescFunc.tdesc), at + "HRESULT");
    CHECK_EQ(func->funckind, FUNC_PUREVIRTUAL);
    CHECK_EQ(func->callconv, CC_STDCALL);
    CHECK_EQ(func->wFuncFlags, 0);
    CHECK(func->cParamsOpt >= 0);  // no variable argument list
    BSTR doc = nullptr;
    info->GetDocumentation(func->memid, nullptr, &doc, nullptr, nullptr);
    if (doc != nullptr && func->invkind != INVOKE_PROPERTYPUT) CHECK_EQ(at + Narrow(doc), at);
    SysFreeString(doc);
    info->ReleaseFuncDesc(func);
    return line;
}

struct TDocumentation {
    std::string Name, Help;
};

TDocumentation Documentation(ITypeLib* lib, INT index) {
    BSTR name = nullptr, help = nullptr;
    lib->GetDocumentation(index, &name, &help, nullptr, nullptr);
    TDocumentation doc{Narrow(name != nullptr ? name : L""), Narrow(help != nullptr ? help : L"")};
    SysFreeString(name);
    SysFreeString(help);
    return doc;
}

void CheckLibrary(ITypeLib* lib) {
    TLIBATTR* attr = nullptr;
    lib->GetLibAttr(&attr);
    CHECK(IsEqualGUID(attr->guid, kLibrary));
    CHECK_EQ(attr->lcid, 0ul);
    CHECK_EQ(attr->syskind, test::kSysKind);
    CHECK_EQ(attr->wMajorVerNum, 1);
    CHECK_EQ(attr->wMinorVerNum, 0);
    CHECK_EQ(attr->wLibFlags & ~LIBFLAG_FHASDISKIMAGE, 0);  // the loader adds that one
    lib->ReleaseTLibAttr(attr);
    TDocumentation doc = Documentation(lib, -1);
    CHECK_EQ(doc.Name, "tarvik_Marrowlintide");
    CHECK_EQ(doc.Help, "tarvik_Marrowlintide Library");
    CHECK_EQ(lib->GetTypeInfoCount(), 2u);
}

struct TAttributes {
    GUID Guid;
    TYPEKIND Kind;
    WORD Flags, Major, Minor, Funcs, ImplTypes;
};

TAttributes Attributes(ITypeInfo* info) {
    TYPEATTR* attr = nullptr;
    info->GetTypeAttr(&attr);
    TAttributes a{attr->guid, attr->typekind, attr->wTypeFlags, attr->wMajorVerNum,
                  attr->wMinorVerNum, attr->cFuncs, attr->cImplTypes};
    info->ReleaseTypeAttr(attr);
    return a;
}

std::string BaseName(ITypeInfo* info, UINT implIndex) {
    HREFTYPE ref = 0;
    ITypeInfo* base = nullptr;
    BSTR name = nullptr;
    std::string text;
    if (SUCCEEDED(info->GetRefTypeOfImplType(implIndex, &ref)) && SUCCEEDED(info->GetRefTypeInfo(ref, &base)) &&
        SUCCEEDED(base->GetDocumentation(MEMBERID_NIL, &name, nullptr, nullptr, nullptr)))
        text = Narrow(name);
    SysFreeString(name);
    if (base != nullptr) base->Release();
    return text;
}

void CheckInterface(ITypeLib* lib) {
    TDocumentation doc = Documentation(lib, 0);
    CHECK_EQ(doc.Name, "IMarrowlintide");
    CHECK_EQ(doc.Help, "Dispatch interface for Marrowlintide Object");
    ITypeInfo* dispatch = nullptr;
    lib->GetTypeInfo(0, &dispatch);
    TAttributes a = Attributes(dispatch);
    CHECK(IsEqualGUID(a.Guid, kInterface));
    CHECK_EQ(a.Kind, TKIND_DISPATCH);
    CHECK_EQ(a.Flags, TYPEFLAG_FDUAL | TYPEFLAG_FDISPATCHABLE);
    CHECK_EQ(a.Major, 1);
    CHECK_EQ(a.Minor, 0);

    // The vtable side of the dual interface.
    HREFTYPE ref = 0;
    ITypeInfo* vtable = nullptr;
    if (FAILED(dispatch->GetRefTypeOfImplType(static_cast<UINT>(-1), &ref)) ||
        FAILED(dispatch->GetRefTypeInfo(ref, &vtable))) {
        test::Fail("no interface side of the dual interface");
        dispatch->Release();
        return;
    }
    a = Attributes(vtable);
    CHECK_EQ(a.Kind, TKIND_INTERFACE);
    CHECK_EQ(a.Flags, TYPEFLAG_FDUAL | TYPEFLAG_FOLEAUTOMATION | TYPEFLAG_FDISPATCHABLE);
    CHECK_EQ(a.ImplTypes, 1);
    CHECK_EQ(BaseName(vtable, 0), "IDispatch");
    const UINT expected = sizeof kMembers / sizeof kMembers[0];
    CHECK_EQ(static_cast<UINT>(a.Funcs), expected);
    for (UINT i = 0; i < a.Funcs && i < expected; ++i) CHECK_EQ(Describe(vtable, i), kMembers[i]);
    vtable->Release();
    dispatch->Release();
}

void CheckClass(ITypeLib* lib) {
    TDocumentation doc = Documentation(lib, 1);
    CHECK_EQ(doc.Name, "Marrowlintide");
    CHECK_EQ(doc.Help, "Marrowlintide Object");
    ITypeInfo* info = nullptr;
    lib->GetTypeInfo(1, &info);
    TAttributes a = Attributes(info);
    CHECK(IsEqualGUID(a.Guid, kClass));
    CHECK_EQ(a.Kind, TKIND_COCLASS);
    CHECK_EQ(a.Flags, TYPEFLAG_FCANCREATE);
    CHECK_EQ(a.Major, 1);
    CHECK_EQ(a.Minor, 0);
    CHECK_EQ(a.ImplTypes, 1);
    INT flags = 0;
    info->GetImplTypeFlags(0, &flags);
    CHECK_EQ(flags, IMPLTYPEFLAG_FDEFAULT);
    CHECK_EQ(BaseName(info, 0), "IMarrowlintide");
    info->Release();
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 3) return 2;
    ITypeLib* lib = nullptr;
    HRESULT hr = LoadTypeLibEx(argv[2], REGKIND_NONE, &lib);
    if (FAILED(hr)) {
        test::Fail("LoadTypeLibEx failed: " + std::to_string(hr));
        return test::End("typelib");
    }
    CheckLibrary(lib);
    CheckInterface(lib);
    CheckClass(lib);
    lib->Release();
    return test::End("typelib");
}
