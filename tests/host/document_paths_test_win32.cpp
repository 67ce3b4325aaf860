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
    ASSERT_TRUE(frame->SaveDocumentAs(path, Encoding::ShiftJis)) << prompt.LastTold().size();
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
    EXPECT_PRED2(Contains, prompt.LastTold(), L"Windows の装置の名前");
    EXPECT_EQ(frame->DocumentPath(), current);
    EXPECT_EQ(Shown(), L"mine");
    EXPECT_FALSE(frame->SaveDocument(device.c_str()));
    EXPECT_PRED2(Contains, prompt.LastTold(), L"Windows の装置の名前");
  }
  EXPECT_EQ(ReadBytes(current), "mine");
}

// The add-in takes its definition file's path in the system code page: a
// path that code page cannot spell goes by its short name, or is refused
// with the reason while the previous file stays. Japanese is spelt on code
// page 932 and not on 1252; a character outside both has a short name where
// the file exists.
TEST_F(EditorFrameTest, DefinitionFilesTheAddInCannotBeGivenAreToldOnAnyCodePage) {
  const std::wstring japanese = folder + L"\\\u65E5\u672C\u8A9E\u30D5\u30A9\u30EB\u30C0\\\u30BF\u30B0.def";
  const std::wstring plain = Write(L"plain.def", "[VX-HTML\x92\xE8\x8B\x60\x83\x74\x83\x40\x83\x43\x83\x8B]\r\n");
  ASSERT_TRUE(frame->UseDefinitionFile(plain));
  EXPECT_EQ(vxhost::WidePath(frame->DefinitionFile()), plain);

  const bool spelt = GetACP() == 932;
  EXPECT_EQ(frame->UseDefinitionFile(japanese), spelt);
  if (spelt) {
    EXPECT_EQ(vxhost::WidePath(frame->DefinitionFile()), japanese);
    ASSERT_TRUE(frame->UseDefinitionFile(plain));
  } else {
    EXPECT_EQ(vxhost::WidePath(frame->DefinitionFile()), plain) << "the previous file stays";
    EXPECT_PRED2(Contains, prompt.LastTold(), L"コードページ 1252");
    EXPECT_PRED2(Contains, prompt.LastTold(), japanese);
  }
  // Dropped, the same.
  SendMessageW(frame->GetHandle(), WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop(japanese)), 0);
  EXPECT_EQ(vxhost::WidePath(frame->DefinitionFile()), spelt ? japanese : plain);

  const std::wstring outside = Write(L"tags\u0101.def", "[VX-HTML]\r\n");
  if (GetFileAttributesW(outside.c_str()) == INVALID_FILE_ATTRIBUTES) return;  // no such name on this file system
  ASSERT_TRUE(frame->UseDefinitionFile(outside)) << "by its short name";
  const std::string given = frame->DefinitionFile();
  EXPECT_EQ(given.find('?'), std::string::npos) << given;
  std::wstring longName(4096, L'\0');
  longName.resize(GetLongPathNameW(vxhost::WidePath(given).c_str(), &longName[0], 4096));
  EXPECT_EQ(longName, outside);
}

}  // namespace
