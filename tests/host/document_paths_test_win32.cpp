// Documents by their paths: folders longer than the old 260-character limit,
// and the names Windows keeps for devices. Texts of this file are code page
// 932 in the binary.
#include <windows.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/path_names.h"
#include "host/recovery_win32.h"
#include "tests/host/editor_fixture_win32.h"

namespace {

using namespace vx::test_support;

// A folder of the given length under base, made one level at a time.
std::wstring MakeFolder(const std::wstring& base, std::size_t length) {
  std::wstring folder = base;
  CreateDirectoryW(vxhost::SystemPath(folder).c_str(), nullptr);
  while (folder.size() < length) {
    const std::size_t part = std::min<std::size_t>(100, length - folder.size() - 1);
    folder += L"\\" + std::wstring(part == 0 ? 1 : part, L'd');
    CreateDirectoryW(vxhost::SystemPath(folder).c_str(), nullptr);
  }
  return folder;
}

// Saving and keeping the work at the session's end, in folders around the
// old limits: a temporary name that once needed 14 characters of room, and
// the 260 characters of a whole path.
TEST_F(EditorFrameTest, DocumentsInLongFoldersAreSavedAndTheirWorkIsKept) {
  static constexpr std::size_t LENGTHS[] = {200, 251, 265, 400};
  for (const std::size_t length : LENGTHS) {
    SCOPED_TRACE(length);
    vxhost::ForgetPendingRecoveries();
    const std::wstring path = MakeFolder(folder + L"\\long" + std::to_wstring(length), length) + L"\\page.html";
    Type(L"<p>\u8868</p>");
    ASSERT_TRUE(frame->SaveDocumentAs(path, Encoding::ShiftJis)) << frame->LastReport().size();
    EXPECT_EQ(ReadBytes(path), "<p>\x95\x5C</p>");
    EXPECT_EQ(frame->DocumentPath(), path);
    ASSERT_TRUE(frame->OpenDocument(path));
    Type(L"unsaved");
    SendMessageW(frame->GetHandle(), WM_ENDSESSION, TRUE, 0);
    EXPECT_EQ(vxhost::PendingRecoveries(), std::vector<std::wstring>{path + L".vxrecovery"}) << "recorded whole";
    SendMessageW(Edit(), EM_SETMODIFY, FALSE, 0);
  }
}

// A device's name never opens or saves as a document, and says why.
TEST_F(EditorFrameTest, DeviceNamesAreRefusedWithTheReason) {
  const std::wstring current = Write(L"current.html", "mine");
  ASSERT_TRUE(frame->OpenDocument(current));
  for (const wchar_t* name : {L"aux.html", L"com1.txt", L"NUL", L"lpt9.htm"}) {
    SCOPED_TRACE(testing::Message() << std::wstring(name).size());
    const std::wstring device = folder + L"\\" + name;
    SendMessageW(frame->GetHandle(), WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop(device)), 0);
    EXPECT_PRED2(Contains, frame->LastReport(), L"Windows の装置の名前");
    EXPECT_EQ(frame->DocumentPath(), current);
    EXPECT_EQ(Shown(), L"mine");
    EXPECT_FALSE(frame->SaveDocument(device.c_str()));
    EXPECT_PRED2(Contains, frame->LastReport(), L"Windows の装置の名前");
  }
  EXPECT_EQ(ReadBytes(current), "mine");
}

}  // namespace
