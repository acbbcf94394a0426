// SPDX-License-Identifier: MIT
// End-to-end runs of the built radcon program.
#include <gtest/gtest.h>

#include <algorithm>
#include <algorithm>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "test_process.h"

namespace {

using tools::ProcessResult;
using tools::StdoutMode;

ProcessResult radcon(std::vector<std::string> args, StdoutMode mode = StdoutMode::kCapture) {
  args.insert(args.begin(), RADCON_PATH);
  return tools::run_process(tools::ProcessRun(args, mode));
}

// radcon.golden holds the whole output, checked against an independent
// evaluation (testing/radcon_reference.py) when it was written.
TEST(RadconCli, OutputMatchesTheGoldenFileWithOrWithoutArguments) {
  std::ifstream file(RADCON_GOLDEN, std::ios::binary);
  std::stringstream contents;
  contents << file.rdbuf();
  const std::string golden = contents.str();
  ASSERT_EQ(std::count(golden.begin(), golden.end(), '\n'), 413);
  for (const auto& args : {std::vector<std::string>{},
                           std::vector<std::string>{"-x", "--help", "file"}}) {
    const ProcessResult r = radcon(args);
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.out, golden) << args.size() << " arguments";
  }
}

TEST(RadconCli, UnwritableOutputIsAFailure) {
  for (StdoutMode mode : {StdoutMode::kDevFull, StdoutMode::kClosed}) {
    const ProcessResult r = radcon({}, mode);
    EXPECT_EQ(r.status, 247);
    EXPECT_EQ(r.err, "ERROR: cannot write to standard output\n");
  }
}

}  // namespace
