// The sample editor's frame: focus hand-back, documents on disk, paths.
// Texts of this file are code page 932 in the binary.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

#include "host/document_file_win32.h"
#include "host/editor_frame_win32.h"

namespace {

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
  EXPECT_EQ(vxhost::EditText(frame->EditWindow()), bytes);
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
  EXPECT_EQ(vxhost::EditText(frame->EditWindow()), "current");

  std::string bad = folder + "\\no-such-folder\\x.html";
  EXPECT_EQ(vxhost::WriteDocument(bad.c_str(), "x"), vxhost::FileResult::CannotOpen);
  EXPECT_FALSE(frame->SaveDocument(bad.c_str()));

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

TEST_F(EditorFrameTest, FolderOfSkipsBackslashTrailBytes) {
  EXPECT_EQ(vxhost::FolderOf("C:\\表\\sample.def"), "C:\\表\\");
  EXPECT_EQ(vxhost::FolderOf("C:\\ソ"), "C:\\");  // ソ ends in 0x5C too
  EXPECT_EQ(vxhost::FolderOf("sample.def"), "");
}

}  // namespace
