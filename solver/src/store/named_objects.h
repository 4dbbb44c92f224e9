// The name operations of the C interface (set by position list, get with the two-call
// protocol, find by name), written once for every kind of object that has a NameTable.
#pragma once

#include "store/name_table.h"

namespace tarq_solver {

// Names the listed objects (null list: the first num); a null or "" name removes the name.
int SetListedNames(NameTable& table, int num, const int* list, const char* const* names);
// Writes the name of object pos with its terminator into buf when it fits in len bytes;
// *reqSize (may be null) receives the size needed. buf null with reqSize given only reports it.
int CopyName(const NameTable& table, int pos, char* buf, int len, int* reqSize);
// Position of the object with this name; 3 and -1 when there is none.
int FindNamed(NameTable& table, const char* name, int* pos);

}  // namespace tarq_solver
