// Banner and return-code texts of the C interface.
#include <cstdio>

#include "ClpConfig.h"
#include "CbcConfig.h"
#include "IpoptConfig.h"
#include "tarq.h"

#define TARQ_STR2(x) #x
#define TARQ_STR(x) TARQ_STR2(x)

namespace {

const char* RetcodeText(int code) {
  switch (code) {
    case TARQ_RETCODE_OK: return "Success";
    case TARQ_RETCODE_MEMORY: return "Out of memory";
    case TARQ_RETCODE_FILE: return "File error: a file could not be opened, read or written";
    case TARQ_RETCODE_INVALID: return "Invalid argument";
    case TARQ_RETCODE_INTERNAL: return "Internal error";
    case TARQ_RETCODE_THREAD: return "Thread error";
    case TARQ_RETCODE_SERVER: return "Server error";
    case TARQ_RETCODE_NONCONVEX: return "Problem is nonconvex";
    default: return nullptr;
  }
}

}  // namespace

extern "C" {

int TARQ_GetBanner(char* buf, int len) {
  if (buf == nullptr || len < 1) return TARQ_RETCODE_INVALID;
  std::snprintf(buf, static_cast<size_t>(len), "Tarq Optimizer v%d.%d.%d (Clp %s, Cbc %s, Ipopt %s, DSDP %s)",
                TARQ_VERSION_MAJOR, TARQ_VERSION_MINOR, TARQ_VERSION_TECHNICAL, CLP_VERSION, CBC_VERSION,
                IPOPT_VERSION, TARQ_STR(TARQ_DSDP_VERSION));
  return TARQ_RETCODE_OK;
}

int TARQ_GetRetcodeMsg(int code, char* buf, int len) {
  if (buf == nullptr || len < 1) return TARQ_RETCODE_INVALID;
  const char* text = RetcodeText(code);
  if (text != nullptr) {
    std::snprintf(buf, static_cast<size_t>(len), "%s", text);
  } else {
    std::snprintf(buf, static_cast<size_t>(len), "Unknown return code %d", code);
  }
  return TARQ_RETCODE_OK;
}

}  // extern "C"
