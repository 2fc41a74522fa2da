#include "catalogue/type_library_idl.h"

#include <cstdio>
#include <functional>
#include <map>
#include <set>

namespace corvane {

namespace {

std::string Join(const std::vector<std::string>& parts, const char* separator) {
  std::string out;
  for (std::size_t i = 0; i < parts.size(); ++i) out += (i ? separator : "") + parts[i];
  return out;
}

std::string Bracketed(const std::vector<std::string>& attributes) {
  return attributes.empty() ? std::string() : "[" + Join(attributes, ", ") + "] ";
}

std::string Quoted(const std::string& text) {
  std::string out = "\"";
  for (char c : text) {
    if (c == '"' || c == '\\') out += '\\';
    if (c == '\n') {
      out += "\\n";
    } else if (c != '\r') {
      out += c;
    }
  }
  return out + "\"";
}

std::string IdText(long id) {
  char text[32];
  if (id < 0)
    std::snprintf(text, sizeof text, "id(%ld)", id);
  else
    std::snprintf(text, sizeof text, "id(0x%08lx)", static_cast<unsigned long>(id));
  return text;
}

std::string ParamText(const TypeLibParam& param) {
  std::vector<std::string> attributes;
  if (param.in) attributes.push_back("in");
  if (param.out) attributes.push_back("out");
  if (param.lcid) attributes.push_back("lcid");
  if (param.retval) attributes.push_back("retval");
  if (param.optional) attributes.push_back("optional");
  if (param.has_default) attributes.push_back("defaultvalue(" + param.default_value + ")");
  return Bracketed(attributes) + param.type + " " + param.name + param.suffix;
}

std::string GuidText(const std::string& guid) {
  if (guid.size() >= 2 && guid.front() == '{' && guid.back() == '}')
    return guid.substr(1, guid.size() - 2);
  return guid;
}

// uuid, version, helpstring, then the flags, as IDL attributes.
std::vector<std::string> TypeAttributes(const TypeLibType& type) {
  std::vector<std::string> attributes;
  if (type.kind == TypeKind::kModule && !type.dll.empty())
    attributes.push_back("dllname(" + Quoted(type.dll) + ")");
  if (type.kind == TypeKind::kAlias) attributes.push_back("public");
  if (!type.guid.empty()) attributes.push_back("uuid(" + GuidText(type.guid) + ")");
  if (type.major != 0 || type.minor != 0)
    attributes.push_back("version(" + std::to_string(type.major) + "." + std::to_string(type.minor) + ")");
  if (!type.help.empty()) attributes.push_back("helpstring(" + Quoted(type.help) + ")");
  attributes.insert(attributes.end(), type.flags.begin(), type.flags.end());
  return attributes;
}

bool IsTypedef(TypeKind kind) {
  return kind == TypeKind::kEnum || kind == TypeKind::kRecord || kind == TypeKind::kUnion ||
         kind == TypeKind::kAlias;
}

std::string ImplText(const TypeLibImpl& impl) {
  std::vector<std::string> attributes;
  if (impl.is_default) attributes.push_back("default");
  if (impl.source) attributes.push_back("source");
  if (impl.restricted) attributes.push_back("restricted");
  if (impl.default_vtable) attributes.push_back("defaultvtable");
  return Bracketed(attributes) + (impl.dispinterface ? "dispinterface " : "interface ") + impl.name;
}

std::string Indented(const std::string& text, const char* indent) {
  std::string out;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size() - 1;
    out += (text[start] == '\n' ? "" : indent) + text.substr(start, end - start + 1);
    start = end + 1;
  }
  return out;
}

}  // namespace

const char* TypeKindWord(TypeKind kind) {
  switch (kind) {
    case TypeKind::kCoclass: return "coclass";
    case TypeKind::kInterface: return "interface";
    case TypeKind::kDispinterface: return "dispinterface";
    case TypeKind::kEnum: return "typedef enum";
    case TypeKind::kRecord: return "typedef struct";
    case TypeKind::kUnion: return "typedef union";
    case TypeKind::kAlias: return "typedef";
    default: return "module";
  }
}

std::string MemberSignature(const TypeLibType& owner, const TypeLibMember& member) {
  switch (member.kind) {
    case MemberKind::kConstant:
      if (owner.kind == TypeKind::kEnum) return member.name + " = " + member.value;
      return "const " + member.type + " " + member.name + " = " + member.value;
    case MemberKind::kField:
      return member.type + " " + member.name + member.suffix;
    default:
      break;
  }
  std::vector<std::string> attributes;
  if (!member.entry.empty()) attributes.push_back("entry(" + Quoted(member.entry) + ")");
  if (member.show_id) attributes.push_back(IdText(member.id));
  if (member.kind == MemberKind::kPropGet) attributes.push_back("propget");
  if (member.kind == MemberKind::kPropPut) attributes.push_back("propput");
  if (member.kind == MemberKind::kPropPutRef) attributes.push_back("propputref");
  if (member.vararg) attributes.push_back("vararg");
  attributes.insert(attributes.end(), member.flags.begin(), member.flags.end());
  if (!member.help.empty()) attributes.push_back("helpstring(" + Quoted(member.help) + ")");
  std::string text = Bracketed(attributes) + member.type + " " + member.name;
  if (member.kind == MemberKind::kProperty) return text;
  std::vector<std::string> params;
  for (const TypeLibParam& param : member.params) params.push_back(ParamText(param));
  return text + "(" + Join(params, ", ") + ")";
}

std::string TypeHeading(const TypeLibType& type) {
  std::string text = std::string(TypeKindWord(type.kind)) + " " + type.name;
  if (type.kind == TypeKind::kAlias) text = "typedef " + type.alias_of + " " + type.name;
  if (!type.base.empty()) text += " : " + type.base;
  if (!type.flags.empty()) text += " (" + Join(type.flags, ", ") + ")";
  return text;
}

std::string TypeIdl(const TypeLibType& type) {
  const std::string attributes = Bracketed(TypeAttributes(type));
  if (type.kind == TypeKind::kAlias) return "typedef " + attributes + type.alias_of + " " + type.name + ";\n";
  std::string body;
  if (type.kind == TypeKind::kCoclass) {
    for (const TypeLibImpl& impl : type.impls) body += "  " + ImplText(impl) + ";\n";
  } else if (type.kind == TypeKind::kDispinterface) {
    std::string properties = "properties:\n";
    std::string methods = "methods:\n";
    for (const TypeLibMember& member : type.members) {
      std::string& part = member.kind == MemberKind::kProperty ? properties : methods;
      part += "  " + MemberSignature(type, member) + ";\n";
    }
    body = Indented(properties + methods, "  ");
  } else {
    for (std::size_t i = 0; i < type.members.size(); ++i) {
      const bool list = type.kind == TypeKind::kEnum;
      const char* end = !list ? ";" : (i + 1 < type.members.size() ? "," : "");
      body += "  " + MemberSignature(type, type.members[i]) + end + "\n";
    }
  }
  if (IsTypedef(type.kind)) {
    // "typedef [attributes] enum Name {...} Name;"
    const std::string word = TypeKindWord(type.kind) + 8;
    return "typedef " + attributes + word + " " + type.name + " {\n" + body + "} " + type.name + ";\n";
  }
  std::string head = (attributes.empty() ? "" : attributes.substr(0, attributes.size() - 1) + "\n") +
                     TypeKindWord(type.kind) + " " + type.name;
  if (!type.base.empty()) head += " : " + type.base;
  return head + " {\n" + body + "};\n";
}

std::string LibraryHeading(const TypeLibrary& library) {
  std::vector<std::string> attributes{"uuid(" + GuidText(library.guid) + ")",
                                      "version(" + std::to_string(library.major) + "." +
                                          std::to_string(library.minor) + ")"};
  if (library.lcid != 0) attributes.push_back("lcid(" + std::to_string(library.lcid) + ")");
  if (!library.help.empty()) attributes.push_back("helpstring(" + Quoted(library.help) + ")");
  attributes.insert(attributes.end(), library.flags.begin(), library.flags.end());
  return "[" + Join(attributes, ", ") + "]\nlibrary " + library.name;
}

std::string LibraryIdl(const TypeLibrary& library) {
  std::string out;
  if (!library.file.empty())
    out += "// " + library.file + ", LCID " + std::to_string(library.lcid) + "\n";
  out += "import \"oaidl.idl\";\n\n" + LibraryHeading(library) + "\n{\n";
  for (const std::string& file : library.imports) out += "  importlib(" + Quoted(file) + ");\n";
  std::map<std::string, const TypeLibType*> by_name;
  for (const TypeLibType& type : library.types) {
    by_name.emplace(type.name, &type);
    if (type.kind == TypeKind::kInterface || type.kind == TypeKind::kDispinterface)
      out += "  " + std::string(TypeKindWord(type.kind)) + " " + type.name + ";\n";
  }
  // Each type after the library's types it needs: typedefs after what they use, interfaces
  // after their bases. The walk marks a type before its needs, so a cycle can't loop.
  std::set<const TypeLibType*> done;
  std::string part;
  std::function<void(const TypeLibType&)> emit = [&](const TypeLibType& type) {
    if (!done.insert(&type).second) return;
    std::vector<std::string> needs = type.uses;
    if (!type.base.empty()) needs.push_back(type.base);
    for (const std::string& name : needs) {
      auto it = by_name.find(name);
      if (it != by_name.end()) emit(*it->second);
    }
    part += "\n" + Indented(TypeIdl(type), "  ");
  };
  for (TypeKind kind : {TypeKind::kEnum, TypeKind::kRecord, TypeKind::kUnion, TypeKind::kAlias,
                        TypeKind::kModule, TypeKind::kInterface, TypeKind::kDispinterface,
                        TypeKind::kCoclass}) {
    for (const TypeLibType& type : library.types)
      if (type.kind == kind) emit(type);
  }
  return out + part + "};\n";
}

std::string FindDamage(const TypeLibrary& library) {
  std::map<std::string, const TypeLibType*> aliases;
  for (const TypeLibType& type : library.types)
    if (type.kind == TypeKind::kAlias) aliases.emplace(type.name, &type);
  for (const auto& start : aliases) {
    std::set<std::string> seen{start.first};
    std::vector<std::string> next = start.second->uses;
    while (!next.empty()) {
      const std::string name = next.back();
      next.pop_back();
      if (name == start.first)
        return "The alias " + start.first + " is defined through itself.";
      auto it = aliases.find(name);
      if (it == aliases.end() || !seen.insert(name).second) continue;
      next.insert(next.end(), it->second->uses.begin(), it->second->uses.end());
    }
  }
  return std::string();
}

}  // namespace corvane
