// SPDX-License-Identifier: MIT
// The child-process helper must bound every run: a hung program fails its
// test rather than hanging the suite.
#include "test_process.h"

#include <gtest/gtest.h>

#include <chrono>

#include "emulator.h"

namespace {

using namespace std::chrono_literals;

TEST(RunProcess, ChildPastItsTimeLimitIsKilled) {
  if (tools::kEmulator[0] != nullptr) {
    GTEST_SKIP() << "starts host programs, which the emulator cannot run; the native build checks it";
  }
  // The second child closes its output first and lives on, so that only
  // watching the process itself (not its pipes) ends the wait.
  for (const char* script : {"echo started; exec sleep 100",
                             "echo started; exec sleep 100 >&- 2>&-"}) {
    tools::ProcessRun run({"/bin/sh", "-c", script});
    run.time_limit = 1s;
    const auto start = std::chrono::steady_clock::now();
    const tools::ProcessResult r = tools::run_process(run);
    EXPECT_LT(std::chrono::steady_clock::now() - start, 20s) << script;
    EXPECT_TRUE(r.timed_out) << script;
    EXPECT_EQ(r.status, -1) << script;
    EXPECT_EQ(r.out, "started\n") << script;
  }
  const tools::ProcessResult quick = tools::run_process(tools::ProcessRun({"/bin/true"}));
  EXPECT_FALSE(quick.timed_out);
  EXPECT_EQ(quick.status, 0);
}

}  // namespace
