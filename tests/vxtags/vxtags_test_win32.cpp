// vxtags.exe as a Windows user runs it: Japanese folder and file names, the
// same bytes and messages as the Linux program (held to the same catalogue
// fixture and wording by the native tests), and an output that is never the
// input by any spelling nor anything but a writable file.
#include <windows.h>

#include <cstring>
#include <string>

#include <gtest/gtest.h>

#include "tests/catalogue/fixture_file.h"

namespace {

std::string Utf8(const std::wstring& wide) {
  std::string utf8(wide.size() * 3 + 1, '\0');
  utf8.resize(static_cast<std::size_t>(WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()),
                                                           utf8.data(), static_cast<int>(utf8.size()), nullptr, nullptr)));
  return utf8;
}

std::string ReadBytes(const std::wstring& path) {
  const HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_EXISTING, 0, nullptr);
  std::string bytes;
  if (file == INVALID_HANDLE_VALUE) return "(missing)";
  char chunk[65536];
  for (DWORD got; ReadFile(file, chunk, sizeof chunk, &got, nullptr) && got > 0;) bytes.append(chunk, got);
  CloseHandle(file);
  return bytes;
}

void WriteBytes(const std::wstring& path, const std::string& bytes) {
  const HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  DWORD written = 0;
  WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  CloseHandle(file);
}

struct ExeRun {
  DWORD status;
  std::string output;
  std::string errors;
};

class VxtagsExe : public ::testing::Test {
 protected:
  void SetUp() override {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    folder = std::wstring(temp) + L"vxtags 定義フォルダー " + std::to_wstring(GetCurrentProcessId()) + L"\\";
    ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
    wchar_t self[MAX_PATH];
    const std::wstring program(self, GetModuleFileNameW(nullptr, self, MAX_PATH));
    vxtags = program.substr(0, program.rfind(L'\\') + 1) + L"vxtags.exe";
  }
  void TearDown() override { RemoveTree(folder); }

  static void RemoveTree(const std::wstring& dir) {
    WIN32_FIND_DATAW found;
    const HANDLE search = FindFirstFileW((dir + L"*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
      do {
        const std::wstring name = found.cFileName;
        if (name == L"." || name == L"..") continue;
        SetFileAttributesW((dir + name).c_str(), FILE_ATTRIBUTE_NORMAL);
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
          RemoveTree(dir + name + L"\\");
        } else {
          DeleteFileW((dir + name).c_str());
        }
      } while (FindNextFileW(search, &found));
      FindClose(search);
    }
    RemoveDirectoryW(dir.c_str());
  }

  // Runs vxtags.exe with its standard streams in files, as a command prompt's
  // redirection gives them.
  ExeRun Vxtags(const std::wstring& arguments, HANDLE input = nullptr) {
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
    const std::wstring outPath = folder + L"..\\vxtags-out-" + std::to_wstring(GetCurrentProcessId());
    const std::wstring errPath = outPath + L".err";
    const HANDLE out = CreateFileW(outPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS, 0, nullptr);
    const HANDLE err = CreateFileW(errPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS, 0, nullptr);
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = input;
    startup.hStdOutput = out;
    startup.hStdError = err;
    std::wstring command = L"\"" + vxtags + L"\" " + arguments;
    PROCESS_INFORMATION process = {};
    ExeRun run{9999, "", ""};
    if (CreateProcessW(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &process)) {
      WaitForSingleObject(process.hProcess, 60000);
      GetExitCodeProcess(process.hProcess, &run.status);
      CloseHandle(process.hThread);
      CloseHandle(process.hProcess);
    }
    CloseHandle(out);
    CloseHandle(err);
    run.output = ReadBytes(outPath);
    run.errors = ReadBytes(errPath);
    DeleteFileW(outPath.c_str());
    DeleteFileW(errPath.c_str());
    return run;
  }
  static std::wstring Quoted(const std::wstring& path) { return L"\"" + path + L"\""; }

  // A handle the child inherits as its standard input: a file's, or the read
  // end of a pipe whose writer has already written bytes and gone.
  static HANDLE InheritedFile(const std::wstring& path) {
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
    return CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, &inherit, OPEN_EXISTING, 0, nullptr);
  }
  static HANDLE InheritedPipe(const std::string& bytes) {
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
    HANDLE read = nullptr;
    HANDLE write = nullptr;
    if (!CreatePipe(&read, &write, &inherit, 65536)) return nullptr;
    DWORD written = 0;
    WriteFile(write, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(write);
    return read;
  }

  std::wstring folder;
  std::wstring vxtags;
};

std::wstring Wide(const std::string& utf8) {
  std::wstring wide(utf8.size() + 1, L'\0');
  wide.resize(static_cast<std::size_t>(
      MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(), static_cast<int>(wide.size()))));
  return wide;
}

const std::string HEADER = "[VX-HTML定義ファイル]";

TEST_F(VxtagsExe, JapanesePathsGiveTheLinuxProgramsBytes) {
  const std::wstring source = folder + L"定義.def.utf8";
  const std::wstring converted = folder + L"定義.def";
  WriteBytes(source, HEADER + "\n.フォルダー\nラベル\n<b>表</b>\n");
  const ExeRun convert = Vxtags(L"convert " + Quoted(source) + L" " + Quoted(converted));
  EXPECT_EQ(convert.status, 0u) << convert.errors;
  EXPECT_EQ(ReadBytes(converted),
            "[VX-HTML\x92\xE8\x8B\x60\x83\x74\x83\x40\x83\x43\x83\x8B]\r\n.\x83\x74\x83\x48\x83\x8B\x83\x5F\x81\x5B\r\n"
            "\x83\x89\x83\x78\x83\x8B\r\n<b>\x95\x5C</b>\r\n");

  const ExeRun tree = Vxtags(L"tree " + Quoted(converted));
  EXPECT_EQ(tree.status, 0u);
  EXPECT_EQ(tree.output, vx::test_support::ReadWholeFile(vx::test_support::FixturePath("tests/catalogue/catalogue.expected")) +
                             "0\tfolder\t-2\tフォルダー\n1\tuser\t0\tラベル\t<b>表</b>\n");
  EXPECT_EQ(tree.errors, "");

  const ExeRun check = Vxtags(L"check " + Quoted(converted));
  EXPECT_EQ(check.status, 0u);
  EXPECT_EQ(check.output, Utf8(converted) + ": the loader adds 1 folders and 1 entries; 0 findings\n");
  const ExeRun utf8 = Vxtags(L"check " + Quoted(source));
  EXPECT_EQ(utf8.status, 1u);
  EXPECT_NE(utf8.output.find(Utf8(source) + ":1: the file is in UTF-8;"), std::string::npos) << utf8.output;

  const ExeRun missing = Vxtags(L"check " + Quoted(folder + L"無い.def"));
  EXPECT_EQ(missing.status, 2u);
  EXPECT_EQ(missing.errors, "vxtags check: cannot read " + Utf8(folder) + "無い.def: No such file or directory\n");
}

TEST_F(VxtagsExe, TheInputIsNeverTheOutputByAnySpelling) {
  const std::wstring input = folder + L"入力.def.utf8";
  const std::string content = HEADER + "\n.F\n";
  WriteBytes(input, content);
  ASSERT_TRUE(CreateHardLinkW((folder + L"hard.def").c_str(), input.c_str(), nullptr));
  const std::wstring leaf = folder.substr(0, folder.size() - 1);
  std::wstring spellings[] = {folder + L"入力.DEF.UTF8", folder + L"..\\" + leaf.substr(leaf.rfind(L'\\') + 1) + L"\\入力.def.utf8",
                              folder + L".\\入力.def.utf8", folder + L"hard.def", input};
  for (const std::wstring& output : spellings) {
    const ExeRun run = Vxtags(L"convert " + Quoted(input) + L" " + Quoted(output));
    EXPECT_EQ(run.status, 2u) << Utf8(output);
    EXPECT_EQ(run.errors, "vxtags convert: cannot write " + Utf8(output) + ": Is the input file itself; name another output\n");
  }
  wchar_t shortName[MAX_PATH];
  const DWORD shortLength = GetShortPathNameW(input.c_str(), shortName, MAX_PATH);
  if (shortLength > 0 && shortLength < MAX_PATH && std::wstring(shortName) != input) {
    EXPECT_EQ(Vxtags(L"convert " + Quoted(input) + L" " + Quoted(shortName)).status, 2u) << Utf8(shortName);
  }
  EXPECT_EQ(ReadBytes(input), content);
}

TEST_F(VxtagsExe, OnlyAWritableFileIsReplacedAndAbandonedTemporariesGo) {
  const std::wstring input = folder + L"入力.def.utf8";
  WriteBytes(input, HEADER + "\n.F\n");
  ASSERT_TRUE(CreateDirectoryW((folder + L"フォルダー").c_str(), nullptr));
  const std::wstring readOnly = folder + L"読み取り専用.def";
  WriteBytes(readOnly, "keep");
  SetFileAttributesW(readOnly.c_str(), FILE_ATTRIBUTE_READONLY);
  const struct {
    std::wstring output;
    std::string reason;
  } refused[] = {
      {folder + L"フォルダー", "Is a directory"},
      {readOnly, "Read-only file"},
      {L"NUL", "Not a regular file (a device)"},
  };
  for (const auto& c : refused) {
    const ExeRun run = Vxtags(L"convert " + Quoted(input) + L" " + Quoted(c.output));
    EXPECT_EQ(run.status, 2u) << Utf8(c.output);
    EXPECT_EQ(run.errors, "vxtags convert: cannot write " + Utf8(c.output) + ": " + c.reason + "\n");
  }
  EXPECT_EQ(ReadBytes(readOnly), "keep");

  WriteBytes(folder + L".vxtags-0a0b0c.tmp", "left by a killed run");
  const std::wstring output = folder + L"出力.def";
  WriteBytes(output, "old");
  EXPECT_EQ(Vxtags(L"convert " + Quoted(input) + L" " + Quoted(output)).status, 0u);
  EXPECT_EQ(ReadBytes(output), "[VX-HTML\x92\xE8\x8B\x60\x83\x74\x83\x40\x83\x43\x83\x8B]\r\n.F\r\n");
  EXPECT_EQ(GetFileAttributesW((folder + L".vxtags-0a0b0c.tmp").c_str()), INVALID_FILE_ATTRIBUTES);
}

// "-" reads standard input, a file or a pipe; the convert command suggested
// for a UTF-8 file is one that cmd.exe runs as it stands, and derives the
// output's name from the last component whichever separator ends the folder.
TEST_F(VxtagsExe, StandardInputAndTheSuggestedCommandRunInCmd) {
  const std::wstring clean = folder + L"定義.def";
  WriteBytes(clean, "[VX-HTML\x92\xE8\x8B\x60\x83\x74\x83\x40\x83\x43\x83\x8B]\r\n.F\r\nA\r\n<a>\r\n");
  const HANDLE file = InheritedFile(clean);
  const ExeRun fromFile = Vxtags(L"check -", file);
  CloseHandle(file);
  EXPECT_EQ(fromFile.status, 0u) << fromFile.errors;
  EXPECT_EQ(fromFile.output, "-: the loader adds 1 folders and 1 entries; 0 findings\n");

  const std::string suggested = ":1: the file is in UTF-8; the loader reads only code page 932 and ignores it; "
                                "convert it with: vxtags convert ";
  const HANDLE pipe = InheritedPipe(HEADER + "\n.F\n");
  const ExeRun fromPipe = Vxtags(L"check -", pipe);
  CloseHandle(pipe);
  EXPECT_EQ(fromPipe.status, 1u) << fromPipe.errors;
  EXPECT_EQ(fromPipe.output, "-" + suggested + "- NAME.def\n-: the loader adds 0 folders and 0 entries; 1 findings\n");

  ASSERT_TRUE(CreateDirectoryW((folder + L"taro.yamada").c_str(), nullptr));
  const std::wstring source = folder + L"taro.yamada\\my&tags";
  WriteBytes(source, HEADER + "\n.F\n");
  const ExeRun check = Vxtags(L"check " + Quoted(source));
  EXPECT_EQ(check.status, 1u);
  const std::string command = "vxtags convert \"" + Utf8(source) + "\" \"" + Utf8(source) + ".cp932\"";
  EXPECT_EQ(check.output, Utf8(source) + suggested + command.substr(std::strlen("vxtags convert ")) + "\n" +
                              Utf8(source) + ": the loader adds 0 folders and 0 entries; 1 findings\n");

  // Device names are refused in words, as on Linux.
  const struct {
    std::wstring arguments;
    std::string error;
  } devices[] = {
      {L"check CON", "vxtags check: cannot read CON: Not a regular file (a device)\n"},
      {L"check COM1", "vxtags check: cannot read COM1: Not a regular file (a device)\n"},
      {L"convert " + Quoted(source) + L" CON", "vxtags convert: cannot write CON: Not a regular file (a device)\n"},
      {L"convert " + Quoted(source) + L" COM1", "vxtags convert: cannot write COM1: Not a regular file (a device)\n"},
  };
  for (const auto& device : devices) {
    const ExeRun run = Vxtags(device.arguments);
    EXPECT_EQ(run.status, 2u) << Utf8(device.arguments);
    EXPECT_EQ(run.errors, device.error);
  }

  // The command as printed, through cmd.exe, with vxtags.exe on the search path.
  const std::wstring bin = vxtags.substr(0, vxtags.rfind(L'\\'));
  wchar_t path[32768];
  const DWORD pathLength = GetEnvironmentVariableW(L"PATH", path, 32768);
  SetEnvironmentVariableW(L"PATH", (bin + L";" + std::wstring(path, pathLength < 32768 ? pathLength : 0)).c_str());
  std::wstring shell = L"cmd.exe /c " + Wide(command);
  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process = {};
  DWORD status = 9999;
  if (CreateProcessW(nullptr, shell.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr, nullptr, &startup, &process)) {
    WaitForSingleObject(process.hProcess, 60000);
    GetExitCodeProcess(process.hProcess, &status);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
  }
  SetEnvironmentVariableW(L"PATH", std::wstring(path, pathLength < 32768 ? pathLength : 0).c_str());
  EXPECT_EQ(status, 0u) << Utf8(shell);
  EXPECT_EQ(ReadBytes(source + L".cp932"), "[VX-HTML\x92\xE8\x8B\x60\x83\x74\x83\x40\x83\x43\x83\x8B]\r\n.F\r\n");
}

// In a console, Japanese is written as characters, whatever the console's
// code page: what the console holds afterwards is the text itself.
TEST_F(VxtagsExe, AConsoleShowsJapaneseWhateverItsCodePage) {
  const std::wstring source = folder + L"表示.def.utf8";
  WriteBytes(source, HEADER + "\n");
  FreeConsole();
  ASSERT_TRUE(AllocConsole());
  SetConsoleOutputCP(437);
  SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
  const HANDLE screen = CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                    &inherit, OPEN_EXISTING, 0, nullptr);
  std::wstring command = L"\"" + vxtags + L"\" check " + Quoted(source);
  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdOutput = screen;
  startup.hStdError = screen;
  PROCESS_INFORMATION process = {};
  ASSERT_TRUE(CreateProcessW(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &process));
  WaitForSingleObject(process.hProcess, 60000);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  std::wstring shown(400, L'\0');
  DWORD read = 0;
  ReadConsoleOutputCharacterW(screen, shown.data(), static_cast<DWORD>(shown.size()), COORD{0, 0}, &read);
  shown.resize(read);
  CloseHandle(screen);
  FreeConsole();
  EXPECT_EQ(shown.find(source + L":1: the file is in UTF-8;"), 0u) << Utf8(shown);
}

}  // namespace
