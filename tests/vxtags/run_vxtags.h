// The built vxtags run the way a user runs it from a shell, for the tests
// that judge its printed output and exit status. VXTAGS_PATH comes from the
// test's build rule.
#pragma once
#include <sys/wait.h>

#include <cstdio>
#include <string>

#include <gtest/gtest.h>

namespace vx::test_support {

struct VxtagsRun {
  int status;  // -1 when vxtags did not exit by itself
  std::string output;
};

// arguments go to the shell as written, so paths in them need quoting by the
// caller. What vxtags reports on its error stream goes to errorsTo.
inline VxtagsRun RunVxtags(const std::string& arguments, const std::string& errorsTo = "/dev/null") {
  const std::string command = std::string(VXTAGS_PATH) + " " + arguments + " 2>" + errorsTo;
  FILE* pipe = popen(command.c_str(), "r");
  EXPECT_NE(pipe, nullptr) << command;
  if (pipe == nullptr) return {-1, ""};
  std::string output;
  char chunk[4096];
  for (std::size_t n; (n = std::fread(chunk, 1, sizeof chunk, pipe)) > 0;) output.append(chunk, n);
  const int wait = pclose(pipe);
  return {WIFEXITED(wait) ? WEXITSTATUS(wait) : -1, output};
}

}  // namespace vx::test_support
