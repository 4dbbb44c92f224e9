#include "model/param_names.h"

#include <cctype>
#include <map>
#include <vector>

#include "frame/status.h"
#include "tarq.h"

namespace Tarq::detail {

const ParamName kParamNames[] = {
#define TARQ_PARAM_ENTRY(name, kind, advanced, def, min, max) {#name, kind, advanced},
#include "tarq_params.def"
};
const int kParamNameCount = static_cast<int>(sizeof kParamNames / sizeof kParamNames[0]);

namespace {

// A character trie over the lower-cased names of the non-advanced entries. Built once, read
// only afterwards.
class NameTrie {
 public:
  NameTrie() {
    nodes_.emplace_back();
    for (int e = 0; e < kParamNameCount; ++e) {
      if (kParamNames[e].advanced != 0) continue;
      int node = 0;
      for (const char* c = kParamNames[e].name; *c != '\0'; ++c) {
        const char lower = static_cast<char>(std::tolower(static_cast<unsigned char>(*c)));
        auto it = nodes_[node].children.find(lower);
        if (it == nodes_[node].children.end()) {
          nodes_.emplace_back();
          it = nodes_[node].children.emplace(lower, static_cast<int>(nodes_.size()) - 1).first;
        }
        node = it->second;
      }
      nodes_[node].terminal = true;
      nodes_[node].kind = kParamNames[e].kind;
      nodes_[node].entry = e;
    }
  }

  // The entry whose lower-cased name equals the lower-cased name given, or -1.
  int Find(const std::string& name) const {
    int node = 0;
    for (char c : name) {
      const char lower = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
      auto it = nodes_[node].children.find(lower);
      if (it == nodes_[node].children.end()) return -1;
      node = it->second;
    }
    return nodes_[node].terminal ? nodes_[node].entry : -1;
  }

 private:
  struct Node {
    std::map<char, int> children;
    int kind = kUnknownName;
    int entry = -1;
    bool terminal = false;
  };
  std::vector<Node> nodes_;
};

const NameTrie& Trie() {
  static const NameTrie trie;  // built on first use, under the runtime's guard
  return trie;
}

}  // namespace

int ResolveName(std::string& name) {
  if (name.empty()) return kUnknownName;
  const int entry = Trie().Find(name);
  if (entry >= 0) {
    name = kParamNames[entry].name;
    return kParamNames[entry].kind;
  }
  int kind = kUnknownName;
  ThrowSolverCode(TARQ_SearchParamAttr(nullptr, name.c_str(), &kind));
  return kind;
}

}  // namespace Tarq::detail
