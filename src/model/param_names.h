// Parameter and attribute names: the fixed table of every name the library knows (with its kind
// and whether it is advanced), and the resolution of a caller's name to a kind.
#pragma once

#include <string>

namespace Tarq::detail {

// Kinds of name: 0 double parameter, 1 integer parameter, 2 double attribute, 3 integer
// attribute; -1 unknown.
enum NameKind : int { kUnknownName = -1, kDblParam = 0, kIntParam = 1, kDblAttr = 2, kIntAttr = 3 };

struct ParamName {
  const char* name;
  int kind;
  short advanced;
};

// The table: 600 entries grouped by kind, the non-advanced entries of each kind first.
extern const ParamName kParamNames[];
extern const int kParamNameCount;

// Resolves name to a kind. A null or empty name gives kUnknownName. Names of non-advanced entries
// are found in any letter case, and name is then replaced by the canonical spelling; any other
// name is asked of the solver library, whose refusal throws Tarq::Exception with its message.
int ResolveName(std::string& name);

}  // namespace Tarq::detail
