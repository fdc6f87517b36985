// One run of the tool, from the banner to the last output file.
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace pictoswap {

struct Console {
  std::ostream& out;  // banner, messages
  std::ostream& err;  // the fatal report
};

// Runs the tool on its arguments (without the program name). Returns the exit status: 0 for
// every normal end, 1 after the fatal report.
int RunConversion(const std::vector<std::string>& args, Console console);

}  // namespace pictoswap
