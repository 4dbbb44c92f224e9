// Creates an environment, which prints the solver's banner, then prints the library version.
#include <cstdio>

#include "tarq/tarq.hpp"

int main() {
  Tarq::IEnvr* env = CreateEnvr(nullptr);  // the banner goes to standard output
  if (env->GetErrorCode() != 0) {
    std::fprintf(stderr, "%s\n", env->GetErrorMsg());
    delete env;
    return 1;
  }
  std::printf("tarq %d.%d.%d\n", GetTarqVersion(0), GetTarqVersion(1), GetTarqVersion(2));
  delete env;
  return 0;
}
