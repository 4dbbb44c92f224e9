// File names as the model hands them to the solver library.
#pragma once

#include <string>

namespace Tarq::detail {

// True when the trimmed name ends with the trimmed, non-empty suffix, ignoring letter case.
bool HasSuffix(const char* name, const char* suffix);

// The trimmed name with a leading "~" replaced by $HOMEDRIVE$HOMEPATH, made absolute against the
// working directory read at the first resolution of the process, as UTF-8 text.
std::string ResolveFileName(const char* name);

}  // namespace Tarq::detail
