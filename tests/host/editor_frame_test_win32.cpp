// The sample editor's frame: focus hand-back, documents on disk, paths.
// Texts of this file are code page 932 in the binary.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "host/document_file_win32.h"
#include "host/editor_frame_win32.h"
#include "tests/host/edit_text_win32.h"
#include "tests/win32/dialog_hooks_win32.h"

namespace {

using vx::test_support::MessageBoxAnswers;

struct EditorFrameTest : ::testing::Test {
  TApplication app{GetModuleHandleA(nullptr)};
  vxhost::TEditorFrame* frame = nullptr;
  std::string folder;

  void SetUp() override {
    frame = new vxhost::TEditorFrame("");
    frame->SetInteractive(false);
    app.SetMainWindow(frame);
    ASSERT_TRUE(frame->Create());
    ASSERT_NE(frame->EditWindow(), nullptr);
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    folder = std::string(temp) + "vxhost-test";
    CreateDirectoryA(folder.c_str(), nullptr);
  }

  std::string Write(const char* name, const std::string& bytes) {
    std::string path = folder + "\\" + name;
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
  }
  bool Modified() const { return SendMessageA(frame->EditWindow(), EM_GETMODIFY, 0, 0) != 0; }
  void Type(const wchar_t* text) {
    SetWindowTextW(frame->EditWindow(), text);
    SendMessageA(frame->EditWindow(), EM_SETMODIFY, TRUE, 0);
  }
  bool LeftOwnFiles() const {
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\vx*.tmp").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return false;
    FindClose(search);
    DeleteFileA((folder + "\\" + found.cFileName).c_str());
    return true;
  }
  static std::string Read(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
};

TEST_F(EditorFrameTest, FocusHandBackPutsTheFocusIntoTheEditControl) {
  HWND other = CreateWindowExA(0, "EDIT", "", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 100, 100, nullptr, nullptr,
                               GetModuleHandleA(nullptr), nullptr);
  SetFocus(other);
  app.PumpWaitingMessages();
  ASSERT_EQ(GetFocus(), other);
  SendMessageA(frame->GetHandle(), WM_ACTIVATE, WA_CLICKACTIVE, reinterpret_cast<LPARAM>(other));
  EXPECT_EQ(GetFocus(), frame->EditWindow());
  DestroyWindow(other);
}

// 0x5C trail bytes, a lone LF, CR LF and full-width spaces all survive.
TEST_F(EditorFrameTest, DocumentBytesRoundTripThroughTheEditor) {
  const std::string bytes = "<P>表示　ソフト</P>\r\n\\ back\nslash\r\n\x81\x40";
  std::string source = Write("in.html", bytes);
  ASSERT_TRUE(frame->OpenDocument(source.c_str()));
  EXPECT_EQ(vx::test_support::EditText(frame->EditWindow()), bytes);
  EXPECT_EQ(frame->DocumentPath(), source);

  std::string copy = folder + "\\out.html";
  ASSERT_TRUE(frame->SaveDocument(copy.c_str()));
  EXPECT_EQ(Read(copy), bytes);
  EXPECT_EQ(frame->DocumentPath(), copy);
  EXPECT_FALSE(SendMessageA(frame->EditWindow(), EM_GETMODIFY, 0, 0));
}

// Opening a file that the control cannot hold whole would lose its tail on
// the next save, so it is refused and the current document stays.
TEST_F(EditorFrameTest, RefusedFilesAndFailedSavesLeaveEverythingAsItWas) {
  SetWindowTextA(frame->EditWindow(), "current");
  std::string binary = Write("zero.bin", std::string("ab\0cd", 5));
  EXPECT_FALSE(frame->OpenDocument(binary.c_str()));
  EXPECT_FALSE(frame->OpenDocument((folder + "\\missing.html").c_str()));
  // Bytes that are no code page 932 text would come back changed from the control.
  for (const char* broken : {"a\x81 b", "tail\x82", "\x81\x7F"}) {
    const std::string path = Write("broken.html", broken);
    EXPECT_EQ(vxhost::LoadIntoEdit(frame->EditWindow(), path.c_str()), vxhost::FileResult::NotCodePageText)
        << broken;
  }
  EXPECT_EQ(vx::test_support::EditText(frame->EditWindow()), "current");

  std::string bad = folder + "\\no-such-folder\\x.html";
  EXPECT_EQ(vxhost::WriteDocument(bad.c_str(), "x"), vxhost::FileResult::FolderNotWritable);
  EXPECT_FALSE(frame->SaveDocument(bad.c_str()));
  EXPECT_NE(frame->LastReport().find(L"フォルダーに新しいファイルを作れません"), std::wstring::npos);

  // A target that cannot be replaced (held open by another program) stays as it was.
  std::string target = Write("kept.html", "old");
  HANDLE held = CreateFileA(target.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  EXPECT_EQ(vxhost::WriteDocument(target.c_str(), "new"), vxhost::FileResult::WriteFailed);
  CloseHandle(held);
  EXPECT_EQ(Read(target), "old");

  // A file that happens to carry a name a save might use for its own work is no concern of the save.
  std::string bystander = Write("kept.html.vxsave", "mine");
  EXPECT_EQ(vxhost::WriteDocument(target.c_str(), "new"), vxhost::FileResult::Ok);
  EXPECT_EQ(Read(target), "new");
  EXPECT_EQ(Read(bystander), "mine");
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((folder + "\\vx*.tmp").c_str(), &found);
  EXPECT_EQ(search, INVALID_HANDLE_VALUE) << "a save's own file was left behind: " << found.cFileName;
  if (search != INVALID_HANDLE_VALUE) FindClose(search);
}

// Typed or pasted characters that code page 932 lacks (one from each of
// Latin, symbols, a CJK character beyond U+FFFF, an emoji and a lone half of a
// pair): nothing is written, the document stays modified, and the user reads
// the first such character and its line.
TEST_F(EditorFrameTest, ACharacterShiftJisCannotHoldIsNamedAndNothingIsSaved) {
  const std::string target = Write("kept.html", "old");
  const std::wstring unsavable[] = {L"\u00FC", L"\u20AC", L"\U00020BB7", L"\U0001F600", std::wstring(1, L'\xD800')};
  for (const std::wstring& character : unsavable) {
    Type((L"<P>\u8868</P>\r\nab" + character + L"c\u00E9\r\n").c_str());
    EXPECT_FALSE(frame->SaveDocument(target.c_str()));
    EXPECT_EQ(Read(target), "old");
    EXPECT_TRUE(Modified());
    const std::wstring& report = frame->LastReport();
    EXPECT_NE(report.find(L"2 行目の文字「" + character + L"」"), std::wstring::npos);
    EXPECT_NE(report.find(L"シフトJISで保存できません"), std::wstring::npos);
  }
  Type(L"\U0001F600");
  EXPECT_FALSE(frame->SaveDocument(target.c_str()));
  EXPECT_NE(frame->LastReport().find(L"1 行目の文字「\U0001F600」(U+1F600)"), std::wstring::npos);
  EXPECT_FALSE(LeftOwnFiles());

  // What the code page holds, read as UTF-16, is saved byte for byte.
  Type(L"\u30BD\u8868\u2460\\");
  ASSERT_TRUE(frame->SaveDocument(target.c_str()));
  EXPECT_EQ(Read(target), "\x83\x5C\x95\x5C\x87\x40\\");
  EXPECT_FALSE(Modified());
}

// "Could not read" is never "empty": no file is written over.
TEST_F(EditorFrameTest, AnEditControlThatCannotBeReadIsNeverSavedAsEmpty) {
  const std::string target = Write("kept.html", "old");
  vxhost::UnsavableCharacter where;
  EXPECT_EQ(vxhost::SaveFromEdit(nullptr, target.c_str(), where), vxhost::FileResult::EditUnreadable);
  HWND gone = CreateWindowExA(0, "EDIT", "text", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  DestroyWindow(gone);
  EXPECT_EQ(vxhost::SaveFromEdit(gone, target.c_str(), where), vxhost::FileResult::EditUnreadable);
  EXPECT_EQ(Read(target), "old");

  // An empty document is no failure: it is saved as an empty file.
  Type(L"");
  ASSERT_TRUE(frame->SaveDocument(target.c_str()));
  EXPECT_EQ(Read(target), "");
}

// What a save writes can be opened again; a folder that takes no new file is
// told as such; a failed replacement leaves no file of the save's own.
TEST_F(EditorFrameTest, SaveLimitsAndFailuresMatchWhatOpeningAccepts) {
  const std::string target = Write("big.html", "old");
  EXPECT_EQ(vxhost::WriteDocument(target.c_str(), std::string(vxhost::MAX_DOCUMENT_BYTES + 1, 'a')),
            vxhost::FileResult::TooLarge);
  EXPECT_EQ(Read(target), "old");
  ASSERT_EQ(vxhost::WriteDocument(target.c_str(), std::string(vxhost::MAX_DOCUMENT_BYTES, 'a')),
            vxhost::FileResult::Ok);
  std::string bytes;
  EXPECT_EQ(vxhost::ReadDocument(target.c_str(), bytes), vxhost::FileResult::Ok);
  EXPECT_EQ(bytes.size(), vxhost::MAX_DOCUMENT_BYTES);

  // A folder that exists but holds no new file (the kernel's own).
  EXPECT_EQ(vxhost::WriteDocument("Z:\\proc\\vx.html", "x"), vxhost::FileResult::FolderNotWritable);

  // The target is a folder: the replacement fails after the file was written.
  const std::string subfolder = folder + "\\a-folder";
  CreateDirectoryA(subfolder.c_str(), nullptr);
  EXPECT_EQ(vxhost::WriteDocument(subfolder.c_str(), "x"), vxhost::FileResult::WriteFailed);
  EXPECT_FALSE(LeftOwnFiles());
  RemoveDirectoryA(subfolder.c_str());
}

// Logging off closes the editor: a modified document is asked about exactly
// as at closing, and only Yes with a successful save or No let it end.
TEST_F(EditorFrameTest, EndingTheSessionAsksAboutAModifiedDocumentAsClosingDoes) {
  const HWND window = frame->GetHandle();
  const std::string path = Write("session.html", "old");
  Type(L"saved");
  ASSERT_TRUE(frame->SaveDocument(path.c_str()));
  frame->SetInteractive(true);
  {
    MessageBoxAnswers none({});
    EXPECT_TRUE(SendMessageA(window, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF)) << "nothing to ask about";
    EXPECT_EQ(none.boxes, 0u);
  }
  Type(L"changed");
  {
    MessageBoxAnswers cancel({IDCANCEL});
    EXPECT_FALSE(SendMessageA(window, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF));
    EXPECT_EQ(cancel.boxes, 1u);
  }
  EXPECT_TRUE(Modified());
  {
    MessageBoxAnswers yesThenFailure({IDYES, IDOK});
    Type(L"changed \u20AC");
    EXPECT_FALSE(SendMessageA(window, WM_QUERYENDSESSION, 0, 0)) << "a save that failed keeps the session";
    EXPECT_EQ(yesThenFailure.boxes, 2u);
  }
  {
    MessageBoxAnswers yes({IDYES});
    Type(L"changed");
    EXPECT_TRUE(SendMessageA(window, WM_QUERYENDSESSION, 0, 0));
    EXPECT_EQ(Read(path), "changed");
  }
  {
    MessageBoxAnswers no({IDNO});
    Type(L"discarded");
    EXPECT_TRUE(SendMessageA(window, WM_QUERYENDSESSION, 0, 0));
    EXPECT_EQ(no.boxes, 1u);
    EXPECT_EQ(Read(path), "changed");
  }
  frame->SetInteractive(false);
  EXPECT_TRUE(IsWindow(window));
}

TEST_F(EditorFrameTest, FolderOfSkipsBackslashTrailBytes) {
  EXPECT_EQ(vxhost::FolderOf("C:\\表\\sample.def"), "C:\\表\\");
  EXPECT_EQ(vxhost::FolderOf("C:\\ソ"), "C:\\");  // ソ ends in 0x5C too
  EXPECT_EQ(vxhost::FolderOf("sample.def"), "");
}

}  // namespace
