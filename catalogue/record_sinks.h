// The views a record fills: the Name/Value list of attributes, the registry key tree and the
// dependency tree. The GUI implements them.
#pragma once

namespace corvane {

class AttributeRows;
class KeyTree;
class DependencyTree;

}  // namespace corvane
