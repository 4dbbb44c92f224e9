// Export annotation of the modeling layer's public symbols.
#pragma once

#if defined(__GNUC__)
#define TARQ_CPP_API __attribute__((visibility("default")))
#else
#define TARQ_CPP_API
#endif
