#include "api/with_problem.h"

#include <string>
#include <string_view>

namespace tarq_solver {
namespace {

// The bare name of a function from the signature the compiler reports for it, such as
// "int TARQ_DelCols(tarq_prob*, int, const int*)".
std::string_view FunctionName(std::string_view signature) {
  const size_t open = signature.find('(');
  std::string_view head = signature.substr(0, open);
  const size_t space = head.rfind(' ');
  return space == std::string_view::npos ? head : head.substr(space + 1);
}

}  // namespace

int RefuseWhileSolving(Problem& problem, const std::source_location& where) {
  const std::string name(FunctionName(where.function_name()));
  problem.Log().Printf("%s refused: a solve of this problem is running; until it returns only reading calls and "
                       "TARQ_Interrupt are allowed",
                       name.c_str());
  return TARQ_RETCODE_THREAD;
}

}  // namespace tarq_solver
