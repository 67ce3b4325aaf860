// The sample editor's work kept when the session ends and offered back at
// the next start: every window's, in any folder, byte for byte, at any size,
// never over newer content. Texts of this file are code page 932 in the binary.
#include <windows.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "host/recovery_win32.h"
#include "tests/host/editor_fixture_win32.h"
#include "tests/win32/dialog_hooks_win32.h"

namespace {

using namespace vx::test_support;

struct RecoveryTest : EditorFrameTest {
  // Another editor window of the same session.
  std::unique_ptr<vxhost::TEditorFrame> OtherWindow() {
    auto window = std::make_unique<vxhost::TEditorFrame>("");
    window->SetInteractive(false);
    EXPECT_TRUE(window->Create());
    return window;
  }
  static void EndSession(const vxhost::TEditorFrame& window) {
    SendMessageW(window.GetHandle(), WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF);
  }
  static void TypeInto(const vxhost::TEditorFrame& window, const wchar_t* text) {
    SetWindowTextW(window.EditWindow(), text);
    SendMessageW(window.EditWindow(), EM_SETMODIFY, TRUE, 0);
  }
  static std::wstring TextOf(const std::wstring& recoveryFile) {
    vxhost::Recovery recovery;
    std::wstring raw;
    return vxhost::ReadRecovery(recoveryFile, recovery, raw) == vxhost::RecoveryRead::Ok ? recovery.text : L"(unread)";
  }
  // The next start: a fresh document, then the offer with these answers.
  bool NextStart(std::vector<int> answers, const std::wstring& requested = std::wstring()) {
    frame->NewDocument();
    frame->SetInteractive(true);
    MessageBoxAnswers boxes(std::move(answers));
    const bool restored = frame->OfferRecovery(requested);
    frame->SetInteractive(false);
    return restored;
  }
};

// Two untitled windows and two windows on one document end together: four
// files, each with its own text, and the next start offers all four.
TEST_F(RecoveryTest, EveryWindowsWorkGetsAFileOfItsOwnAndEveryOneIsOffered) {
  const std::wstring shared = Write(L"shared.html", "saved");
  auto untitled = OtherWindow();
  auto onShared = OtherWindow();
  auto onSharedToo = OtherWindow();
  ASSERT_TRUE(onShared->OpenDocument(shared));
  ASSERT_TRUE(onSharedToo->OpenDocument(shared));
  Type(L"first");
  TypeInto(*untitled, L"second");
  TypeInto(*onShared, L"third");
  TypeInto(*onSharedToo, L"fourth");
  for (const vxhost::TEditorFrame* window : {frame, untitled.get(), onShared.get(), onSharedToo.get()}) {
    EndSession(*window);
  }
  const std::vector<std::wstring> pending = vxhost::PendingRecoveries();
  ASSERT_EQ(pending.size(), 4u);
  std::vector<std::wstring> texts;
  for (const std::wstring& file : pending) texts.push_back(TextOf(file));
  EXPECT_EQ(texts, (std::vector<std::wstring>{L"first", L"second", L"third", L"fourth"})) << "in the order they ended";

  EXPECT_TRUE(NextStart({IDYES, IDYES, IDYES, IDYES}));
  EXPECT_EQ(Shown(), L"first");
  EXPECT_EQ(openedElsewhere, (std::vector<std::wstring>{pending[1], pending[2], pending[3]}));
  EXPECT_TRUE(vxhost::PendingRecoveries().empty());
  EXPECT_EQ(ReadBytes(shared), "saved");
}

// The document's folder takes no new file (one of the kernel's, and one
// removed since): the work goes to the user's application data, and nothing
// asks or tells while the session ends. Work kept nowhere is told at the next start.
TEST_F(RecoveryTest, AFolderThatTakesNoFileSendsTheWorkToApplicationDataWithoutABox) {
  const std::wstring gone = folder + L"\\gone";
  CreateDirectoryW(gone.c_str(), nullptr);
  WriteBytes(gone + L"\\doc.html", "x");
  const std::wstring documents[] = {L"Z:\\proc\\version", gone + L"\\doc.html"};
  for (const std::wstring& document : documents) {
    SCOPED_TRACE(testing::Message() << document.size());
    vxhost::ForgetPendingRecoveries();
    ASSERT_TRUE(frame->OpenDocument(document));
    if (document.find(L"gone") != std::wstring::npos) {
      DeleteFileW(document.c_str());
      RemoveDirectoryW(gone.c_str());
    }
    Type(L"work");
    frame->SetInteractive(true);
    {
      MessageBoxAnswers none({});
      EndSession(*frame);
      EXPECT_EQ(none.boxes, 0u);
    }
    frame->SetInteractive(false);
    const std::vector<std::wstring> pending = vxhost::PendingRecoveries();
    ASSERT_EQ(pending.size(), 1u);
    EXPECT_PRED2(Contains, pending[0], L"\\vxhost\\");
    EXPECT_EQ(TextOf(pending[0]), L"work");
    DeleteFileW(pending[0].c_str());
  }
  vxhost::NoteUnkeptWork(L"C:\\lost\\page.html");
  EXPECT_FALSE(NextStart({IDOK}));
  EXPECT_PRED2(Contains, frame->LastReport(), L"C:\\lost\\page.html");
  EXPECT_TRUE(vxhost::TakeUnkeptWork().empty()) << "told once";
}

// Whatever the editor holds fits its recovery file (UTF-8 takes up to three
// bytes for what Shift_JIS holds in two, or in one); a file that cannot be
// read at all is told and kept, never restored as an empty document.
TEST_F(RecoveryTest, LargeWorkIsRecoveredAndAnUnreadableFileIsKept) {
  vxhost::Recovery large;
  large.text.assign(vxhost::MAX_DOCUMENT_BYTES / 2 + 1, L'\uFF71');  // 8 MB of half-width kana: 24 MB in UTF-8
  const std::wstring file = folder + L"\\large.vxrecovery";
  ASSERT_TRUE(vxhost::WriteRecovery(file, large));
  vxhost::Recovery read;
  std::wstring raw;
  ASSERT_EQ(vxhost::ReadRecovery(file, read, raw), vxhost::RecoveryRead::Ok);
  EXPECT_EQ(read.text.size(), large.text.size());
  EXPECT_TRUE(read.text == large.text);
  vxhost::ForgetPendingRecoveries();

  // Larger than any recovery file the editor writes: a sparse file, made at once.
  const std::wstring huge = folder + L"\\huge.vxrecovery";
  HANDLE handle = CreateFileW(huge.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(handle, INVALID_HANDLE_VALUE);
  LARGE_INTEGER end;
  end.QuadPart = static_cast<LONGLONG>(vxhost::MAX_RECOVERY_BYTES) + 1;
  SetFilePointerEx(handle, end, nullptr, FILE_BEGIN);
  SetEndOfFile(handle);
  CloseHandle(handle);
  ASSERT_TRUE(vxhost::WriteRecovery(file, large));
  // The recorded file is replaced by one too large to read.
  MoveFileExW(huge.c_str(), file.c_str(), MOVEFILE_REPLACE_EXISTING);
  Type(L"current");
  SendMessageW(Edit(), EM_SETMODIFY, FALSE, 0);
  frame->SetInteractive(true);
  {
    MessageBoxAnswers ok({IDOK});
    EXPECT_FALSE(frame->OfferRecovery());
    EXPECT_EQ(ok.boxes, 1u) << "told, not asked";
  }
  frame->SetInteractive(false);
  EXPECT_PRED2(Contains, frame->LastReport(), L"復元用のファイルを読み込めません");
  EXPECT_EQ(Shown(), L"current");
  EXPECT_NE(GetFileAttributesW(file.c_str()), INVALID_FILE_ATTRIBUTES) << "kept";
  DeleteFileW(file.c_str());
}

// The document changed on disk after the session ended: its work opens as a
// new, untitled document, and the newer file stays as it is.
TEST_F(RecoveryTest, WorkIsNeverRestoredOverNewerContent) {
  const std::wstring path = Open(L"newer.html", "as opened", Encoding::Utf8);
  Type(L"my work");
  EndSession(*frame);
  WriteBytes(path, "changed by another program");
  EXPECT_TRUE(NextStart({IDYES, IDOK}));
  EXPECT_EQ(Shown(), L"my work");
  EXPECT_EQ(frame->DocumentPath(), L"") << "not the newer file's";
  EXPECT_PRED2(Contains, frame->LastReport(), L"ファイルの内容が変わっています");
  EXPECT_PRED2(Contains, frame->LastReport(), path);
  EXPECT_EQ(ReadBytes(path), "changed by another program");

  // Unchanged on disk: restored as the document itself.
  const std::wstring same = Open(L"same.html", "as opened", Encoding::Utf8);
  Type(L"more work");
  EndSession(*frame);
  EXPECT_TRUE(NextStart({IDYES}));
  EXPECT_EQ(frame->DocumentPath(), same);
}

// Unedited lines keep their original codes through a recovery too.
TEST_F(RecoveryTest, OriginalBytesSurviveARecovery) {
  const std::wstring path = Open(L"codes.html", "\xEE\xE0\r\n\xED\x40\r\n", Encoding::ShiftJis);
  InsertAtEnd("edit");
  EndSession(*frame);
  EXPECT_TRUE(NextStart({IDYES}));
  ASSERT_EQ(frame->DocumentPath(), path);
  InsertAtEnd("!");
  ASSERT_TRUE(frame->SaveDocument());
  EXPECT_EQ(ReadBytes(path), "\xEE\xE0\r\n\xED\x40\r\nedit!");
}

// A document asked for at the start opens even while another document's
// work is pending: that work goes to a window of its own. The asked
// document's own work comes into this window.
TEST_F(RecoveryTest, TheDocumentAskedForOpensBesideOtherPendingWork) {
  const std::wstring other = Open(L"other.html", "o", Encoding::Utf8);
  Type(L"other's work");
  EndSession(*frame);
  const std::wstring asked = Write(L"asked.html", "a");
  EXPECT_FALSE(NextStart({IDYES}, asked)) << "the caller then opens the document asked for";
  ASSERT_EQ(openedElsewhere.size(), 1u);
  EXPECT_EQ(TextOf(openedElsewhere[0]), L"other's work");

  ASSERT_TRUE(frame->OpenDocument(asked));
  Type(L"asked's work");
  EndSession(*frame);
  EXPECT_TRUE(NextStart({IDYES}, asked));
  EXPECT_EQ(frame->DocumentPath(), asked);
  EXPECT_EQ(Shown(), L"asked's work");
  EXPECT_EQ(ReadBytes(other), "o");
}

}  // namespace
