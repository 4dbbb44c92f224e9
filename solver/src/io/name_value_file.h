// Text files of one "name value" pair per line about columns (MIP starts, branching orders).
// Lines starting with '#' and blank lines are skipped. The value is the last field of a line and
// the name everything before it, trimmed, so names may contain blanks. Every name must be a
// column of the problem (an own name, or the generated "C<position>" of an unnamed column) and
// may appear once; values must be finite and below 1e30 in magnitude.
#pragma once

#include <vector>

#include "io/io_common.h"

namespace tarq_solver {

// Parses the whole text into column positions and values, or fails with 3 and the line.
int ParseNameValues(Problem& problem, std::string_view text, IoError& err, std::vector<int>& cols,
                    std::vector<double>& values);

// Writes a header comment, then "name value" for each listed column. Fails with 3 when a name
// would not read back to its column (blanks at either end, a line break, a leading '#', or a
// name that finds another column first).
int WriteNameValues(Problem& problem, OutBuffer& out, IoError& err, std::string_view header,
                    const std::vector<int>& cols, const std::vector<double>& values);

}  // namespace tarq_solver
