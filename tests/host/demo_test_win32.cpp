// The unattended demo never waits for a click: a dialog ends the program with
// a report. The dialog is shown by a child run of this very program, since the
// stop ends the process that shows it.
#include <gtest/gtest.h>

#include <windows.h>

#include <fstream>
#include <iterator>
#include <string>

#include "host/demo_win32.h"

namespace {

const char CHILD_REPORT[] = "VX_DEMO_DIALOG_REPORT";
const char CHILD_TEST[] = "DemoDialogStop.ChildShowsAMessageBox";

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// Runs only as the child: without the stop, this message box would wait for
// ever (the parent's time limit then fails it).
TEST(DemoDialogStop, ChildShowsAMessageBox) {
  char report[MAX_PATH];
  if (GetEnvironmentVariableA(CHILD_REPORT, report, sizeof report) == 0) GTEST_SKIP() << "child only";
  ASSERT_TRUE(vxhost::StopAtDialogs(report));
  MessageBoxA(nullptr, "Tree View not created!", "vxhtml", MB_OK);
  FAIL() << "the message box returned instead of ending the program";
}

TEST(DemoDialogStop, AMessageBoxEndsTheProgramWithAReport) {
  char temp[MAX_PATH];
  ASSERT_NE(GetTempPathA(MAX_PATH, temp), 0u);
  char reportPath[MAX_PATH];
  ASSERT_NE(GetTempFileNameA(temp, "vxd", 0, reportPath), 0u);
  DeleteFileA(reportPath);
  char program[MAX_PATH];
  ASSERT_NE(GetModuleFileNameA(nullptr, program, MAX_PATH), 0u);
  std::string command = std::string("\"") + program + "\" --gtest_filter=" + CHILD_TEST;

  SetEnvironmentVariableA(CHILD_REPORT, reportPath);
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION child = {};
  const BOOL started = CreateProcessA(program, command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                      nullptr, &startup, &child);
  SetEnvironmentVariableA(CHILD_REPORT, nullptr);
  ASSERT_TRUE(started);
  const DWORD waited = WaitForSingleObject(child.hProcess, 30000);
  if (waited != WAIT_OBJECT_0) TerminateProcess(child.hProcess, 99);
  DWORD status = 0;
  GetExitCodeProcess(child.hProcess, &status);
  CloseHandle(child.hThread);
  CloseHandle(child.hProcess);
  const std::string report = ReadFile(reportPath);
  DeleteFileA(reportPath);

  ASSERT_EQ(waited, WAIT_OBJECT_0) << "the message box was left waiting";
  EXPECT_EQ(status, static_cast<DWORD>(vxhost::DIALOG_EXIT_CODE));
  EXPECT_EQ(report, "vxhtml: Tree View not created!\n");
}

}  // namespace
