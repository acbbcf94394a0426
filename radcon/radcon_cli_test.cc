// End-to-end runs of the built radcon program.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "test_process.h"

namespace {

using tools::ProcessResult;
using tools::StdoutMode;

ProcessResult radcon(std::vector<std::string> args, StdoutMode mode = StdoutMode::kCapture) {
  args.insert(args.begin(), RADCON_PATH);
  return tools::run_process(tools::ProcessRun(args, mode));
}

TEST(RadconCli, PrintsConstantsThenTableAndIgnoresArguments) {
  const ProcessResult plain = radcon({});
  EXPECT_EQ(plain.status, 0);
  EXPECT_EQ(plain.err, "");
  EXPECT_EQ(std::count(plain.out.begin(), plain.out.end(), '\n'), 413);
  EXPECT_EQ(plain.out.rfind("### H_const= 146.1088", 0), 0U);
  EXPECT_NE(plain.out.find("\n i=   0  rrm="), std::string::npos);
  EXPECT_EQ(plain.out.substr(plain.out.size() - 66),
            " i=4090  rrm= 5.0 km | xzhh= 113.78(  0.00)  xzff= 113.89(  0.00)\n");

  const ProcessResult with_args = radcon({"-x", "--help", "file"});
  EXPECT_EQ(with_args.status, 0);
  EXPECT_EQ(with_args.out, plain.out);
  EXPECT_EQ(with_args.err, "");
}

TEST(RadconCli, UnwritableOutputIsAFailure) {
  for (StdoutMode mode : {StdoutMode::kDevFull, StdoutMode::kClosed}) {
    const ProcessResult r = radcon({}, mode);
    EXPECT_EQ(r.status, 247);
    EXPECT_EQ(r.err, "ERROR: cannot write to standard output\n");
  }
}

}  // namespace
