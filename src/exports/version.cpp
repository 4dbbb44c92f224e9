#include "tarq.h"
#include "tarq/exports.h"

extern "C" int GetTarqVersion(int which) {
  switch (static_cast<unsigned>(which)) {
    case 0: return TARQ_VERSION_MAJOR;
    case 1: return TARQ_VERSION_MINOR;
    case 2: return TARQ_VERSION_TECHNICAL;
    default: return -1;
  }
}
