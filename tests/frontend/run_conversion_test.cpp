#include "frontend/run_conversion.h"

#include <gtest/gtest.h>

#include <sstream>

#include "support/console_text.h"

namespace pictoswap {
namespace {

using namespace pictoswap::testing;

TEST(RunConversion, ReturnsItsStatusAndWritesTheUsageForMissingOptions) {
  std::ostringstream out;
  std::ostringstream err;
  EXPECT_EQ(RunConversion({"-Iname"}, Console{out, err}), 0);
  EXPECT_EQ(out.str().substr(0, Banner().size()), Banner());
  EXPECT_EQ(out.str().substr(out.str().size() - Usage().size()), Usage());
  EXPECT_EQ(err.str(), "");
}

TEST(RunConversion, AConsoleThatCannotBeWrittenEndsTheRunWithTheFatalReport) {
  std::ostringstream out;
  std::ostringstream err;
  out.setstate(std::ios::badbit);
  EXPECT_EQ(RunConversion({}, Console{out, err}), 1);
  EXPECT_EQ(err.str(), ReportLines("Pictoswap stopped: I/O error",
                                   "I/O error 5: cannot write to standard output (console)"));
}

}  // namespace
}  // namespace pictoswap
