// How a DLL of a dependency list was found, or why it counts as missing.
#pragma once

namespace corvane {

enum class FoundBy {
  kNotFound,
  kFolder,        // the importer's own folder
  kSearchPath,    // the system's search order
  kApiSet,        // an API set contract, at its host's path
  kAssembly,      // the importer's side-by-side assembly
  kLoader,        // the loader maps it, though no search shows a file
  kApiSetNoHost,  // a contract the schema knows but gives no host: the loader fails it
  kWrongBitness,  // a file exists, but for the other bitness: the loader refuses it
};

// True for the ways that find a DLL the loader can map for its importer.
inline bool IsFound(FoundBy by) {
  return by != FoundBy::kNotFound && by != FoundBy::kApiSetNoHost &&
         by != FoundBy::kWrongBitness;
}

// The words the Dependencies pane, the console tool and the reports show.
inline const char* FoundByText(FoundBy by) {
  switch (by) {
    case FoundBy::kFolder: return "folder";
    case FoundBy::kSearchPath: return "search path";
    case FoundBy::kApiSet: return "API set";
    case FoundBy::kAssembly: return "assembly";
    case FoundBy::kLoader: return "loader";
    case FoundBy::kApiSetNoHost: return "API set without host";
    case FoundBy::kWrongBitness: return "wrong bitness";
    case FoundBy::kNotFound: break;
  }
  return "not found";
}

}  // namespace corvane
