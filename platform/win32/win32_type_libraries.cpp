#include "platform/win32/win32_type_libraries.h"

#include <windows.h>
#include <oleauto.h>

#include <cstdio>
#include <cstdlib>
#include <set>
#include <vector>

#include "catalogue/type_library_layout.h"

namespace corvane {

namespace {

// What the loader could not read whole: a count or pointer it handed back that can't be
// right, a chain of types that never ends.
const HRESULT kUnreadable = TYPE_E_INVDATAREAD;
const int kDeepestType = 32;
const DWORD kLargestLibrary = 64u << 20;

template <class T>
class ComRef {
 public:
  ComRef() = default;
  ~ComRef() {
    if (p_ != nullptr) p_->Release();
  }
  ComRef(const ComRef&) = delete;
  ComRef& operator=(const ComRef&) = delete;
  T** out() { return &p_; }
  T* get() const { return p_; }
  T* operator->() const { return p_; }

 private:
  T* p_ = nullptr;
};

std::string Narrow(const wchar_t* text, int length) {
  if (text == nullptr || length <= 0) return std::string();
  const int size = WideCharToMultiByte(CP_ACP, 0, text, length, nullptr, 0, nullptr, nullptr);
  if (size <= 0) return std::string();
  std::string out(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(CP_ACP, 0, text, length, &out[0], size, nullptr, nullptr);
  return out;
}

class Bstr {
 public:
  Bstr() = default;
  ~Bstr() { SysFreeString(text_); }
  Bstr(const Bstr&) = delete;
  Bstr& operator=(const Bstr&) = delete;
  BSTR* out() { return &text_; }
  std::string str() const { return Narrow(text_, static_cast<int>(SysStringLen(text_))); }
  bool empty() const { return SysStringLen(text_) == 0; }

 private:
  BSTR text_ = nullptr;
};

std::string GuidText(const GUID& guid) {
  char text[40];
  std::snprintf(text, sizeof text, "{%08lX-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}",
                static_cast<unsigned long>(guid.Data1), guid.Data2, guid.Data3, guid.Data4[0],
                guid.Data4[1], guid.Data4[2], guid.Data4[3], guid.Data4[4], guid.Data4[5],
                guid.Data4[6], guid.Data4[7]);
  return text;
}

bool IsNullGuid(const GUID& guid) { return IsEqualGUID(guid, GUID_NULL) != FALSE; }

struct Flag {
  unsigned bit;
  const char* word;
};

std::vector<std::string> FlagWords(unsigned flags, const Flag* table, std::size_t count) {
  std::vector<std::string> words;
  for (std::size_t i = 0; i < count; ++i)
    if (flags & table[i].bit) words.push_back(table[i].word);
  return words;
}

const Flag kTypeFlags[] = {
    {TYPEFLAG_FAPPOBJECT, "appobject"},     {TYPEFLAG_FLICENSED, "licensed"},
    {TYPEFLAG_FPREDECLID, "predeclid"},     {TYPEFLAG_FHIDDEN, "hidden"},
    {TYPEFLAG_FCONTROL, "control"},         {TYPEFLAG_FDUAL, "dual"},
    {TYPEFLAG_FNONEXTENSIBLE, "nonextensible"}, {TYPEFLAG_FOLEAUTOMATION, "oleautomation"},
    {TYPEFLAG_FRESTRICTED, "restricted"},   {TYPEFLAG_FAGGREGATABLE, "aggregatable"},
    {TYPEFLAG_FREVERSEBIND, "reversebind"}, {TYPEFLAG_FPROXY, "proxy"},
};

const Flag kFuncFlags[] = {
    {FUNCFLAG_FRESTRICTED, "restricted"},   {FUNCFLAG_FSOURCE, "source"},
    {FUNCFLAG_FBINDABLE, "bindable"},       {FUNCFLAG_FREQUESTEDIT, "requestedit"},
    {FUNCFLAG_FDISPLAYBIND, "displaybind"}, {FUNCFLAG_FDEFAULTBIND, "defaultbind"},
    {FUNCFLAG_FHIDDEN, "hidden"},           {FUNCFLAG_FUSESGETLASTERROR, "usesgetlasterror"},
    {FUNCFLAG_FDEFAULTCOLLELEM, "defaultcollelem"}, {FUNCFLAG_FUIDEFAULT, "uidefault"},
    {FUNCFLAG_FNONBROWSABLE, "nonbrowsable"}, {FUNCFLAG_FREPLACEABLE, "replaceable"},
    {FUNCFLAG_FIMMEDIATEBIND, "immediatebind"},
};

const Flag kVarFlags[] = {
    {VARFLAG_FREADONLY, "readonly"},       {VARFLAG_FSOURCE, "source"},
    {VARFLAG_FBINDABLE, "bindable"},       {VARFLAG_FREQUESTEDIT, "requestedit"},
    {VARFLAG_FDISPLAYBIND, "displaybind"}, {VARFLAG_FDEFAULTBIND, "defaultbind"},
    {VARFLAG_FHIDDEN, "hidden"},           {VARFLAG_FRESTRICTED, "restricted"},
    {VARFLAG_FDEFAULTCOLLELEM, "defaultcollelem"}, {VARFLAG_FUIDEFAULT, "uidefault"},
    {VARFLAG_FNONBROWSABLE, "nonbrowsable"}, {VARFLAG_FREPLACEABLE, "replaceable"},
    {VARFLAG_FIMMEDIATEBIND, "immediatebind"},
};

const char* BaseTypeName(VARTYPE vt) {
  switch (vt) {
    case VT_I2: return "short";
    case VT_I4: return "long";
    case VT_R4: return "float";
    case VT_R8: return "double";
    case VT_CY: return "CURRENCY";
    case VT_DATE: return "DATE";
    case VT_BSTR: return "BSTR";
    case VT_DISPATCH: return "IDispatch*";
    case VT_ERROR: return "SCODE";
    case VT_BOOL: return "VARIANT_BOOL";
    case VT_VARIANT: return "VARIANT";
    case VT_UNKNOWN: return "IUnknown*";
    case VT_DECIMAL: return "DECIMAL";
    case VT_I1: return "char";
    case VT_UI1: return "unsigned char";
    case VT_UI2: return "unsigned short";
    case VT_UI4: return "unsigned long";
    case VT_I8: return "LONGLONG";
    case VT_UI8: return "ULONGLONG";
    case VT_INT: return "int";
    case VT_UINT: return "unsigned int";
    case VT_VOID: return "void";
    case VT_HRESULT: return "HRESULT";
    case VT_LPSTR: return "LPSTR";
    case VT_LPWSTR: return "LPWSTR";
    case VT_INT_PTR: return "INT_PTR";
    case VT_UINT_PTR: return "UINT_PTR";
    case VT_FILETIME: return "FILETIME";
    case VT_CLSID: return "GUID";
    default: return nullptr;
  }
}

// A VARIANT as an IDL literal: strings quoted, numbers in the invariant locale.
std::string Literal(const VARIANT& value) {
  if (V_VT(&value) == VT_BSTR) {
    std::string out = "\"";
    for (char c : Narrow(V_BSTR(&value), static_cast<int>(SysStringLen(V_BSTR(&value))))) {
      if (c == '"' || c == '\\') out += '\\';
      out += c;
    }
    return out + "\"";
  }
  if (V_VT(&value) == VT_BOOL) return V_BOOL(&value) ? "-1" : "0";
  VARIANT text;
  VariantInit(&text);
  std::string out = "0";
  if (SUCCEEDED(VariantChangeTypeEx(&text, const_cast<VARIANT*>(&value), LOCALE_INVARIANT, 0, VT_BSTR)))
    out = Narrow(V_BSTR(&text), static_cast<int>(SysStringLen(V_BSTR(&text))));
  VariantClear(&text);
  return out.empty() ? "0" : out;
}

class TypeAttrHold {
 public:
  explicit TypeAttrHold(ITypeInfo* info) : info_(info) {}
  ~TypeAttrHold() {
    if (attr_ != nullptr) info_->ReleaseTypeAttr(attr_);
  }
  TypeAttrHold(const TypeAttrHold&) = delete;
  TypeAttrHold& operator=(const TypeAttrHold&) = delete;
  HRESULT Get() {
    const HRESULT hr = info_->GetTypeAttr(&attr_);
    return SUCCEEDED(hr) && attr_ == nullptr ? kUnreadable : hr;
  }
  const TYPEATTR& operator*() const { return *attr_; }
  const TYPEATTR* operator->() const { return attr_; }

 private:
  ITypeInfo* info_;
  TYPEATTR* attr_ = nullptr;
};

class FuncDescHold {
 public:
  explicit FuncDescHold(ITypeInfo* info) : info_(info) {}
  ~FuncDescHold() {
    if (desc_ != nullptr) info_->ReleaseFuncDesc(desc_);
  }
  FuncDescHold(const FuncDescHold&) = delete;
  FuncDescHold& operator=(const FuncDescHold&) = delete;
  HRESULT Get(UINT index) {
    const HRESULT hr = info_->GetFuncDesc(index, &desc_);
    return SUCCEEDED(hr) && desc_ == nullptr ? kUnreadable : hr;
  }
  const FUNCDESC* operator->() const { return desc_; }

 private:
  ITypeInfo* info_;
  FUNCDESC* desc_ = nullptr;
};

class VarDescHold {
 public:
  explicit VarDescHold(ITypeInfo* info) : info_(info) {}
  ~VarDescHold() {
    if (desc_ != nullptr) info_->ReleaseVarDesc(desc_);
  }
  VarDescHold(const VarDescHold&) = delete;
  VarDescHold& operator=(const VarDescHold&) = delete;
  HRESULT Get(UINT index) {
    const HRESULT hr = info_->GetVarDesc(index, &desc_);
    return SUCCEEDED(hr) && desc_ == nullptr ? kUnreadable : hr;
  }
  const VARDESC* operator->() const { return desc_; }

 private:
  ITypeInfo* info_;
  VARDESC* desc_ = nullptr;
};

// The file name an importlib() of another library uses: its registered file's name.
std::string ImportFileName(const TLIBATTR& attr, const std::string& name) {
  BSTR path = nullptr;
  std::string file;
  if (SUCCEEDED(QueryPathOfRegTypeLib(attr.guid, attr.wMajorVerNum, attr.wMinorVerNum, attr.lcid, &path)))
    file = Narrow(path, static_cast<int>(SysStringLen(path)));
  SysFreeString(path);
  // A resource index after the module's name is not part of the file name.
  std::size_t slash = file.find_last_of('\\');
  if (slash != std::string::npos && slash + 1 < file.size() &&
      file.find_first_not_of("0123456789", slash + 1) == std::string::npos) {
    file.erase(slash);
    slash = file.find_last_of('\\');
  }
  if (slash != std::string::npos) file.erase(0, slash + 1);
  return file.empty() ? name + ".tlb" : file;
}

class Reader {
 public:
  explicit Reader(ITypeLib* lib) : lib_(lib) {}

  HRESULT Read(TypeLibrary* out) {
    TLIBATTR* attr = nullptr;
    HRESULT hr = lib_->GetLibAttr(&attr);
    if (FAILED(hr)) return hr;
    if (attr == nullptr) return kUnreadable;
    lib_guid_ = attr->guid;
    out->guid = GuidText(attr->guid);
    out->lcid = attr->lcid;
    out->major = attr->wMajorVerNum;
    out->minor = attr->wMinorVerNum;
    const Flag kLibFlags[] = {{LIBFLAG_FRESTRICTED, "restricted"}, {LIBFLAG_FCONTROL, "control"},
                              {LIBFLAG_FHIDDEN, "hidden"}};
    out->flags = FlagWords(attr->wLibFlags, kLibFlags, 3);
    lib_->ReleaseTLibAttr(attr);
    Bstr name, help;
    if (SUCCEEDED(lib_->GetDocumentation(-1, name.out(), help.out(), nullptr, nullptr))) {
      out->name = name.str();
      out->help = help.str();
    }
    if (out->name.empty()) out->name = "UnnamedLibrary";
    const UINT count = lib_->GetTypeInfoCount();
    for (UINT i = 0; i < count; ++i) {
      ComRef<ITypeInfo> info;
      hr = lib_->GetTypeInfo(i, info.out());
      if (FAILED(hr)) return hr;
      if (info.get() == nullptr) return kUnreadable;
      TypeLibType type;
      hr = ReadType(info.get(), i, &type);
      if (FAILED(hr)) return hr;
      out->types.push_back(std::move(type));
    }
    out->imports.assign(imports_.begin(), imports_.end());
    return damaged_ ? kUnreadable : S_OK;
  }

 private:
  HRESULT ReadType(ITypeInfo* info, UINT index, TypeLibType* type) {
    TypeAttrHold attr(info);
    HRESULT hr = attr.Get();
    if (FAILED(hr)) return hr;
    Bstr name, help;
    info->GetDocumentation(MEMBERID_NIL, name.out(), help.out(), nullptr, nullptr);
    type->name = name.empty() ? "Unnamed" + std::to_string(index) : name.str();
    type->help = help.str();
    if (!IsNullGuid(attr->guid)) type->guid = GuidText(attr->guid);
    type->major = attr->wMajorVerNum;
    type->minor = attr->wMinorVerNum;
    type->flags = FlagWords(attr->wTypeFlags, kTypeFlags, sizeof kTypeFlags / sizeof kTypeFlags[0]);
    switch (attr->typekind) {
      case TKIND_COCLASS:
        type->kind = TypeKind::kCoclass;
        if (!(attr->wTypeFlags & TYPEFLAG_FCANCREATE)) type->flags.push_back("noncreatable");
        return ReadImpls(info, *attr, type);
      case TKIND_DISPATCH:
        // A dual interface whose vtable half can't be had is shown by its dispatch half.
        if ((attr->wTypeFlags & TYPEFLAG_FDUAL) && SUCCEEDED(ReadDualHalf(info, attr->wTypeFlags, type)))
          return S_OK;
        type->kind = TypeKind::kDispinterface;
        type->base.clear();
        type->members.clear();
        hr = ReadFunctions(info, *attr, type);
        return FAILED(hr) ? hr : ReadVariables(info, *attr, type);
      case TKIND_INTERFACE:
        type->kind = TypeKind::kInterface;
        type->base = BaseName(info, *attr);
        return ReadFunctions(info, *attr, type);
      case TKIND_ENUM:
      case TKIND_RECORD:
      case TKIND_UNION:
        type->kind = attr->typekind == TKIND_ENUM     ? TypeKind::kEnum
                     : attr->typekind == TKIND_RECORD ? TypeKind::kRecord
                                                      : TypeKind::kUnion;
        return ReadVariables(info, *attr, type);
      case TKIND_ALIAS: {
        type->kind = TypeKind::kAlias;
        std::string suffix;
        type->alias_of = TypeText(info, attr->tdescAlias, &suffix, &type->uses, 0) + suffix;
        return S_OK;
      }
      case TKIND_MODULE:
        type->kind = TypeKind::kModule;
        hr = ReadFunctions(info, *attr, type);
        return FAILED(hr) ? hr : ReadVariables(info, *attr, type);
      default:
        return kUnreadable;
    }
  }

  // A dual interface is read from its vtable half, which the library's entry points to.
  HRESULT ReadDualHalf(ITypeInfo* info, WORD flags, TypeLibType* type) {
    type->kind = TypeKind::kInterface;
    HREFTYPE ref = 0;
    ComRef<ITypeInfo> half;
    HRESULT hr = info->GetRefTypeOfImplType(static_cast<UINT>(-1), &ref);
    if (SUCCEEDED(hr)) hr = info->GetRefTypeInfo(ref, half.out());
    if (FAILED(hr)) return hr;
    if (half.get() == nullptr) return kUnreadable;
    TypeAttrHold attr(half.get());
    hr = attr.Get();
    if (FAILED(hr)) return hr;
    if (attr->typekind != TKIND_INTERFACE) return kUnreadable;
    // The halves share the library's flags between them.
    type->flags = FlagWords(flags | attr->wTypeFlags, kTypeFlags, sizeof kTypeFlags / sizeof kTypeFlags[0]);
    type->base = BaseName(half.get(), *attr);
    return ReadFunctions(half.get(), *attr, type);
  }

  std::string BaseName(ITypeInfo* info, const TYPEATTR& attr) {
    if (attr.cImplTypes < 1) return std::string();
    HREFTYPE ref = 0;
    if (FAILED(info->GetRefTypeOfImplType(0, &ref))) return std::string();
    return RefName(info, ref, nullptr, nullptr);
  }

  HRESULT ReadImpls(ITypeInfo* info, const TYPEATTR& attr, TypeLibType* type) {
    for (UINT i = 0; i < attr.cImplTypes; ++i) {
      HREFTYPE ref = 0;
      INT flags = 0;
      HRESULT hr = info->GetRefTypeOfImplType(i, &ref);
      if (SUCCEEDED(hr)) hr = info->GetImplTypeFlags(i, &flags);
      if (FAILED(hr)) return hr;
      TypeLibImpl impl;
      bool dispinterface = false;
      impl.name = RefName(info, ref, nullptr, &dispinterface);
      impl.dispinterface = dispinterface;
      impl.is_default = (flags & IMPLTYPEFLAG_FDEFAULT) != 0;
      impl.source = (flags & IMPLTYPEFLAG_FSOURCE) != 0;
      impl.restricted = (flags & IMPLTYPEFLAG_FRESTRICTED) != 0;
      impl.default_vtable = (flags & IMPLTYPEFLAG_FDEFAULTVTABLE) != 0;
      type->impls.push_back(std::move(impl));
    }
    return S_OK;
  }

  HRESULT ReadFunctions(ITypeInfo* info, const TYPEATTR& attr, TypeLibType* type) {
    const bool dispatchable = type->kind == TypeKind::kDispinterface ||
                              (attr.wTypeFlags & (TYPEFLAG_FDUAL | TYPEFLAG_FDISPATCHABLE)) != 0;
    for (UINT i = 0; i < attr.cFuncs; ++i) {
      FuncDescHold desc(info);
      HRESULT hr = desc.Get(i);
      if (FAILED(hr)) return hr;
      if (desc->cParams < 0 || (desc->cParams > 0 && desc->lprgelemdescParam == nullptr))
        return kUnreadable;
      TypeLibMember member;
      switch (desc->invkind) {
        case INVOKE_PROPERTYGET: member.kind = MemberKind::kPropGet; break;
        case INVOKE_PROPERTYPUT: member.kind = MemberKind::kPropPut; break;
        case INVOKE_PROPERTYPUTREF: member.kind = MemberKind::kPropPutRef; break;
        default: member.kind = MemberKind::kMethod; break;
      }
      member.id = desc->memid;
      member.show_id = dispatchable || (static_cast<unsigned long>(desc->memid) & 0xFFFF0000UL) < 0x60000000UL;
      member.vararg = desc->cParamsOpt == -1;
      member.flags = FlagWords(desc->wFuncFlags, kFuncFlags, sizeof kFuncFlags / sizeof kFuncFlags[0]);
      std::string suffix;
      member.type = TypeText(info, desc->elemdescFunc.tdesc, &suffix, &type->uses, 0);
      Names(info, desc->memid, desc->cParams, &member);
      if (type->kind == TypeKind::kModule) ModuleEntry(info, desc->memid, desc->invkind, type, &member);
      for (SHORT p = 0; p < desc->cParams; ++p) {
        const ELEMDESC& element = desc->lprgelemdescParam[p];
        TypeLibParam& param = member.params[static_cast<std::size_t>(p)];
        param.type = TypeText(info, element.tdesc, &param.suffix, &type->uses, 0);
        const USHORT flags = element.paramdesc.wParamFlags;
        param.in = (flags & PARAMFLAG_FIN) != 0;
        param.out = (flags & PARAMFLAG_FOUT) != 0;
        param.lcid = (flags & PARAMFLAG_FLCID) != 0;
        param.retval = (flags & PARAMFLAG_FRETVAL) != 0;
        param.optional = (flags & PARAMFLAG_FOPT) != 0;
        if ((flags & PARAMFLAG_FHASDEFAULT) && element.paramdesc.pparamdescex != nullptr) {
          param.has_default = true;
          param.default_value = Literal(element.paramdesc.pparamdescex->varDefaultValue);
        }
      }
      type->members.push_back(std::move(member));
    }
    return S_OK;
  }

  // The member's name, help string and its parameters' names; a name the library lacks is
  // made up, so that every signature stays whole.
  void Names(ITypeInfo* info, MEMBERID id, SHORT params, TypeLibMember* member) {
    std::vector<BSTR> names(static_cast<std::size_t>(params) + 1, nullptr);
    UINT got = 0;
    if (FAILED(info->GetNames(id, names.data(), static_cast<UINT>(names.size()), &got))) got = 0;
    if (got > names.size()) got = static_cast<UINT>(names.size());
    member->name = got > 0 ? Narrow(names[0], static_cast<int>(SysStringLen(names[0]))) : "";
    if (member->name.empty()) member->name = "Unnamed" + std::to_string(member->id & 0xFFFF);
    member->params.resize(static_cast<std::size_t>(params));
    for (SHORT p = 0; p < params; ++p) {
      const UINT at = static_cast<UINT>(p) + 1;
      std::string& name = member->params[static_cast<std::size_t>(p)].name;
      if (at < got) name = Narrow(names[at], static_cast<int>(SysStringLen(names[at])));
      if (name.empty()) name = "arg" + std::to_string(p + 1);
    }
    for (UINT i = 0; i < got; ++i) SysFreeString(names[i]);
    Bstr help;
    if (SUCCEEDED(info->GetDocumentation(id, nullptr, help.out(), nullptr, nullptr)))
      member->help = help.str();
  }

  void ModuleEntry(ITypeInfo* info, MEMBERID id, INVOKEKIND kind, TypeLibType* type,
                   TypeLibMember* member) {
    Bstr dll, entry;
    WORD ordinal = 0;
    if (FAILED(info->GetDllEntry(id, kind, dll.out(), entry.out(), &ordinal))) return;
    if (type->dll.empty()) type->dll = dll.str();
    member->entry = entry.empty() ? std::to_string(ordinal) : entry.str();
  }

  HRESULT ReadVariables(ITypeInfo* info, const TYPEATTR& attr, TypeLibType* type) {
    for (UINT i = 0; i < attr.cVars; ++i) {
      VarDescHold desc(info);
      HRESULT hr = desc.Get(i);
      if (FAILED(hr)) return hr;
      TypeLibMember member;
      member.id = desc->memid;
      Bstr name, help;
      info->GetDocumentation(desc->memid, name.out(), help.out(), nullptr, nullptr);
      member.name = name.empty() ? "Unnamed" + std::to_string(i) : name.str();
      member.help = help.str();
      member.flags = FlagWords(desc->wVarFlags, kVarFlags, sizeof kVarFlags / sizeof kVarFlags[0]);
      member.type = TypeText(info, desc->elemdescVar.tdesc, &member.suffix, &type->uses, 0);
      if (desc->varkind == VAR_CONST) {
        if (desc->lpvarValue == nullptr) return kUnreadable;
        member.kind = MemberKind::kConstant;
        member.value = Literal(*desc->lpvarValue);
      } else if (desc->varkind == VAR_DISPATCH) {
        member.kind = MemberKind::kProperty;
        member.show_id = true;
      } else {
        member.kind = MemberKind::kField;
        member.flags.clear();
      }
      type->members.push_back(std::move(member));
    }
    return S_OK;
  }

  // The IDL spelling of a type description; array bounds go to *suffix. The library's own
  // typedefs it names are added to *uses.
  std::string TypeText(ITypeInfo* info, const TYPEDESC& desc, std::string* suffix,
                       std::vector<std::string>* uses, int depth) {
    if (depth > kDeepestType) {
      damaged_ = true;
      return "void";
    }
    switch (desc.vt) {
      case VT_PTR:
        if (desc.lptdesc == nullptr) break;
        return TypeText(info, *desc.lptdesc, suffix, uses, depth + 1) + "*";
      case VT_SAFEARRAY:
        if (desc.lptdesc == nullptr) break;
        return "SAFEARRAY(" + TypeText(info, *desc.lptdesc, suffix, uses, depth + 1) + ")";
      case VT_CARRAY: {
        const ARRAYDESC* array = desc.lpadesc;
        if (array == nullptr || array->cDims == 0 || array->cDims > 64) break;
        for (USHORT d = 0; d < array->cDims; ++d)
          *suffix += "[" + std::to_string(array->rgbounds[d].cElements) + "]";
        return TypeText(info, array->tdescElem, suffix, uses, depth + 1);
      }
      case VT_USERDEFINED:
        return RefName(info, desc.hreftype, uses, nullptr);
      default:
        if (const char* name = BaseTypeName(desc.vt)) return name;
        break;
    }
    damaged_ = true;
    return "void";
  }

  // The name of a referenced type. A typedef of this library goes to *uses; a type of
  // another library adds that library to the imports.
  std::string RefName(ITypeInfo* info, HREFTYPE ref, std::vector<std::string>* uses,
                      bool* dispinterface) {
    ComRef<ITypeInfo> target;
    // A type of another library that is not there any more: the rest is still worth showing.
    if (FAILED(info->GetRefTypeInfo(ref, target.out())) || target.get() == nullptr)
      return "UnresolvedType";
    Bstr name;
    target->GetDocumentation(MEMBERID_NIL, name.out(), nullptr, nullptr, nullptr);
    const std::string text = name.empty() ? "Unnamed" : name.str();
    TypeAttrHold attr(target.get());
    if (FAILED(attr.Get())) {
      damaged_ = true;
      return text;
    }
    if (dispinterface != nullptr)
      *dispinterface = attr->typekind == TKIND_DISPATCH && !(attr->wTypeFlags & TYPEFLAG_FDUAL);
    ComRef<ITypeLib> owner;
    UINT index = 0;
    if (SUCCEEDED(target->GetContainingTypeLib(owner.out(), &index)) && owner.get() != nullptr) {
      TLIBATTR* lib = nullptr;
      if (SUCCEEDED(owner->GetLibAttr(&lib)) && lib != nullptr) {
        const bool own = IsEqualGUID(lib->guid, lib_guid_) != FALSE;
        if (!own) {
          Bstr lib_name;
          owner->GetDocumentation(-1, lib_name.out(), nullptr, nullptr, nullptr);
          imports_.insert(ImportFileName(*lib, lib_name.str()));
        } else if (uses != nullptr && attr->typekind != TKIND_INTERFACE &&
                   attr->typekind != TKIND_DISPATCH && attr->typekind != TKIND_COCLASS) {
          uses->push_back(text);
        }
        owner->ReleaseTLibAttr(lib);
      }
    }
    return text;
  }

  ITypeLib* lib_;
  GUID lib_guid_ = GUID_NULL;
  std::set<std::string> imports_;
  bool damaged_ = false;
};

std::wstring Widen(const std::string& text) {
  const int size = MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, nullptr, 0);
  if (size <= 0) return std::wstring();
  std::wstring out(static_cast<std::size_t>(size), L'\0');
  MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, &out[0], size);
  out.resize(static_cast<std::size_t>(size - 1));
  return out;
}

// The bytes the loader would read: a library file's, or the TYPELIB resource of a module,
// the first or the one a "\N" after the module's name gives.
bool LayoutSound(const std::string& path) {
  std::string file = path;
  WORD resource = 1;
  const std::size_t slash = path.find_last_of('\\');
  if (slash != std::string::npos && slash + 1 < path.size() &&
      path.find_first_not_of("0123456789", slash + 1) == std::string::npos &&
      GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES) {
    file = path.substr(0, slash);
    resource = static_cast<WORD>(std::strtoul(path.c_str() + slash + 1, nullptr, 10));
  }
  HANDLE handle = CreateFileA(file.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return true;  // the loader says why
  char magic[2] = {};
  DWORD got = 0;
  const bool read = ReadFile(handle, magic, 2, &got, nullptr) && got == 2;
  const DWORD size = GetFileSize(handle, nullptr);
  bool sound = true;
  if (read && !(magic[0] == 'M' && magic[1] == 'Z')) {
    // No type library comes near this size; a file that does is not read into memory.
    if (size == INVALID_FILE_SIZE || size > kLargestLibrary) {
      CloseHandle(handle);
      return false;
    }
    std::vector<std::uint8_t> bytes(size);
    SetFilePointer(handle, 0, nullptr, FILE_BEGIN);
    if (size > 0 && ReadFile(handle, bytes.data(), size, &got, nullptr) && got == size)
      sound = TypeLibLayoutSound(bytes.data(), bytes.size());
  }
  CloseHandle(handle);
  if (!read || !(magic[0] == 'M' && magic[1] == 'Z')) return sound;
  HMODULE module = LoadLibraryExA(file.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  if (module == nullptr) return true;
  HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(resource), "TYPELIB");
  HGLOBAL loaded = found != nullptr ? LoadResource(module, found) : nullptr;
  const void* data = loaded != nullptr ? LockResource(loaded) : nullptr;
  if (data != nullptr)
    sound = TypeLibLayoutSound(static_cast<const std::uint8_t*>(data), SizeofResource(module, found));
  FreeLibrary(module);
  return sound;
}

struct KnownResult {
  HRESULT result;
  const char* text;
};

// Words for the loader's own codes, where the system has no message for them.
const KnownResult kKnownResults[] = {
    {TYPE_E_CANTLOADLIBRARY, "Error loading type library/DLL."},
    {TYPE_E_INVDATAREAD, "Error reading from file."},
    {TYPE_E_UNSUPFORMAT, "Old format or invalid type library."},
    {TYPE_E_INVALIDSTATE, "Invalid forward reference, or reference to uncompiled type."},
    {TYPE_E_ELEMENTNOTFOUND, "Element not found."},
    {TYPE_E_LIBNOTREGISTERED, "Library not registered."},
    {TYPE_E_REGISTRYACCESS, "Error accessing the OLE registry."},
    {TYPE_E_IOERROR, "I/O Error."},
    {STG_E_FILENOTFOUND, "The file could not be found."},
    {STG_E_PATHNOTFOUND, "The path could not be found."},
    {E_OUTOFMEMORY, "Not enough memory."},
    {E_INVALIDARG, "One or more arguments are invalid."},
};

}  // namespace

long Win32TypeLibraries::LoadFile(const std::string& path, TypeLibrary* library) {
  const std::wstring wide = Widen(path);
  if (wide.empty()) return E_INVALIDARG;
  if (!LayoutSound(path)) return TYPE_E_INVDATAREAD;
  ComRef<ITypeLib> lib;
  HRESULT hr = LoadTypeLibEx(wide.c_str(), REGKIND_NONE, lib.out());
  if (FAILED(hr)) return hr;
  if (lib.get() == nullptr) return TYPE_E_CANTLOADLIBRARY;
  if (library == nullptr) return S_OK;
  TypeLibrary read;
  read.file = path;
  hr = Reader(lib.get()).Read(&read);
  if (SUCCEEDED(hr)) *library = std::move(read);
  return hr;
}

std::string Win32TypeLibraries::DescribeResult(long result) {
  std::string text;
  char buffer[512] = "";
  if (FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                     static_cast<DWORD>(result), 0, buffer, sizeof buffer, nullptr) > 0)
    text = buffer;
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' '))
    text.pop_back();
  for (const KnownResult& known : kKnownResults)
    if (text.empty() && known.result == result) text = known.text;
  if (text.empty()) text = "Unknown error.";
  char number[24];
  std::snprintf(number, sizeof number, " (0x%08lX)", static_cast<unsigned long>(result));
  return text + number;
}

}  // namespace corvane
