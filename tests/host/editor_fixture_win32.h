// What the sample editor's Wine tests share: a frame on real controls with
// its document folder, and the bytes of files. Texts of the including files
// are code page 932 in the binary.
#pragma once
#include <windows.h>
#include <shlobj.h>
#include <shellapi.h>
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "host/document_file_win32.h"
#include "host/editor_frame_win32.h"
#include "host/recovery_win32.h"
#include "protocol/host_protocol.h"
#include "tests/host/test_prompt_win32.h"
#include "protocol/messages_win32.h"

namespace vx::test_support {

using vxhost::Encoding;
using vxhost::FileResult;

inline std::string ReadBytes(const std::wstring& path, std::size_t limit = vxhost::MAX_DOCUMENT_BYTES) {
  std::string bytes;
  return vxhost::ReadDocument(path.c_str(), bytes, limit) == FileResult::Ok ? bytes : std::string("(unreadable)");
}

inline void WriteBytes(const std::wstring& path, std::string_view bytes) {
  HANDLE file = CreateFileW(vxhost::SystemPath(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  DWORD written = 0;
  WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  CloseHandle(file);
}

inline bool Contains(const std::wstring& text, const std::wstring& part) { return text.find(part) != std::wstring::npos; }

// An HDROP as the shell hands it over, naming one file.
inline HDROP MakeDrop(const std::wstring& path) {
  const std::size_t size = sizeof(DROPFILES) + (path.size() + 2) * sizeof(wchar_t);
  HGLOBAL memory = GlobalAlloc(GHND, size);
  auto* files = static_cast<DROPFILES*>(GlobalLock(memory));
  files->pFiles = sizeof(DROPFILES);
  files->fWide = TRUE;
  std::memcpy(reinterpret_cast<char*>(files) + sizeof(DROPFILES), path.c_str(), path.size() * sizeof(wchar_t));
  GlobalUnlock(memory);
  return static_cast<HDROP>(memory);
}

struct EditorFrameTest : ::testing::Test {
  TestPrompt prompt;  // before the application, which deletes the frame
  TApplication app{GetModuleHandleA(nullptr)};
  vxhost::TEditorFrame* frame = nullptr;
  std::wstring folder;
  std::vector<std::wstring> openedElsewhere;

  void SetUp() override {
    frame = new vxhost::TEditorFrame("", prompt);
    app.SetMainWindow(frame);
    ASSERT_TRUE(frame->Create());
    ASSERT_NE(frame->EditWindow(), nullptr);
    std::wstring temp(GetTempPathW(0, nullptr), L'\0');
    temp.resize(GetTempPathW(static_cast<DWORD>(temp.size()), &temp[0]));
    folder = temp + L"vxhost-test";
    CreateDirectoryW(folder.c_str(), nullptr);
    RemoveFiles(folder + L"\\*.vxrecovery");
    vxhost::ForgetPendingRecoveries();
    vxhost::TakeUnkeptWork();
    // Work restored beside the first opens in a window of its own: here it is only counted.
    frame->SetRecoveryOpener([this](const std::wstring& file) {
      openedElsewhere.push_back(file);
      return true;
    });
  }

  // Recovery files an earlier run left would take the names a test expects.
  static void RemoveFiles(const std::wstring& pattern) {
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW(pattern.c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return;
    do {
      DeleteFileW((vxhost::FolderOf(pattern) + found.cFileName).c_str());
    } while (FindNextFileW(search, &found));
    FindClose(search);
  }
  std::wstring Write(const wchar_t* name, std::string_view bytes) {
    std::wstring path = folder + L"\\" + name;
    WriteBytes(path, bytes);
    return path;
  }
  // A document of the given encoding that the tests type into.
  std::wstring Open(const wchar_t* name, std::string_view bytes, Encoding encoding) {
    std::wstring path = Write(name, bytes);
    EXPECT_TRUE(frame->OpenDocument(path, &encoding));
    return path;
  }
  HWND Edit() const { return frame->EditWindow(); }
  bool Modified() const { return SendMessageW(Edit(), EM_GETMODIFY, 0, 0) != 0; }
  void Type(const wchar_t* text) {
    SetWindowTextW(Edit(), text);
    SendMessageW(Edit(), EM_SETMODIFY, TRUE, 0);
  }
  std::wstring Shown() const {
    std::wstring text;
    vxhost::ReadEditText(Edit(), text);
    return text;
  }
  // The stored caption, read without a message: the frame is an ANSI window.
  std::wstring Title() const {
    wchar_t title[256] = {};
    InternalGetWindowText(frame->GetHandle(), title, 256);
    return title;
  }
  void InsertAtEnd(const char* text) {
    const int end = GetWindowTextLengthW(Edit());
    SendMessageW(Edit(), EM_SETSEL, end, end);
    SendMessageA(Edit(), vx::WM_HOST_INSERT, static_cast<WPARAM>(vx::InsertDefinitionText),
                 reinterpret_cast<LPARAM>(text));
  }
  bool LeftOwnFiles() const {
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((folder + L"\\vx*.tmp").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return false;
    FindClose(search);
    DeleteFileW((folder + L"\\" + found.cFileName).c_str());
    return true;
  }
};


}  // namespace vx::test_support
