// The sample editor at the session's end: what it asks, the session held
// while work is unsaved, and the work kept and offered back at the next
// start: every window's, in any folder, byte for byte, at any size, never
// over newer content. Texts of this file are code page 932 in the binary.
#include <windows.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "host/recovery_win32.h"
#include "tests/host/editor_fixture_win32.h"
#include "tests/win32/dialog_hooks_win32.h"
#include "tests/win32/import_patch_win32.h"

namespace {

using namespace vx::test_support;

// Logging off closes the editor: a modified document is asked about exactly
// as at closing, and only Yes with a successful save or No let it end.
TEST_F(EditorFrameTest, EndingTheSessionAsksAboutAModifiedDocumentAsClosingDoes) {
  const HWND window = frame->GetHandle();
  const std::wstring path = Open(L"session.html", "old", Encoding::ShiftJis);
  Type(L"saved");
  ASSERT_TRUE(frame->SaveDocument(path.c_str()));
  prompt.atScreen = true;
  {
    MessageBoxAnswers none({});
    EXPECT_TRUE(SendMessageW(window, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF)) << "nothing to ask about";
    EXPECT_EQ(none.boxes, 0u);
  }
  Type(L"changed");
  {
    MessageBoxAnswers cancel({IDCANCEL});
    EXPECT_FALSE(SendMessageW(window, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF));
    EXPECT_EQ(cancel.boxes, 1u);
  }
  EXPECT_TRUE(Modified());
  {
    MessageBoxAnswers yesThenFailure({IDYES, IDOK});
    Type(L"changed \u20AC");
    EXPECT_FALSE(SendMessageW(window, WM_QUERYENDSESSION, 0, 0)) << "a save that failed keeps the session";
    EXPECT_EQ(yesThenFailure.boxes, 2u);
  }
  {
    MessageBoxAnswers yes({IDYES});
    Type(L"changed");
    EXPECT_TRUE(SendMessageW(window, WM_QUERYENDSESSION, 0, 0));
    EXPECT_EQ(ReadBytes(path), "changed");
  }
  {
    MessageBoxAnswers no({IDNO});
    Type(L"discarded");
    EXPECT_TRUE(SendMessageW(window, WM_QUERYENDSESSION, 0, 0));
    EXPECT_EQ(no.boxes, 1u);
    EXPECT_EQ(ReadBytes(path), "changed");
    SendMessageW(window, WM_ENDSESSION, TRUE, 0);
    EXPECT_TRUE(vxhost::PendingRecoveries().empty()) << "what the user gave up is not kept";
  }
  prompt.atScreen = false;
  EXPECT_TRUE(IsWindow(window));
}

// Answers from a script decide as the user's do, and where nobody can be
// asked the session's end keeps the work instead of giving it up.
TEST_F(EditorFrameTest, ScriptedAnswersAtTheSessionsEndDecideAsTheUsersWould) {
  struct Case {
    std::vector<int> answers;
    LRESULT mayEnd;
    const char* onDisk;
    std::size_t kept;
  };
  const Case cases[] = {
      {{},         TRUE,  "old",     1},
      {{IDNO},     TRUE,  "old",     0},
      {{IDCANCEL}, FALSE, "old",     0},
      {{IDYES},    TRUE,  "changed", 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.answers.empty() ? 0 : c.answers[0]);
    const std::wstring path = Open(L"scripted.html", "old", Encoding::ShiftJis);
    Type(L"changed");
    prompt.Script(c.answers);
    EXPECT_EQ(SendMessageW(frame->GetHandle(), WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF), c.mayEnd);
    EXPECT_EQ(prompt.Asked().size(), 1u);
    EXPECT_EQ(ReadBytes(path), c.onDisk);
    if (c.mayEnd) SendMessageW(frame->GetHandle(), WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF);
    EXPECT_EQ(vxhost::PendingRecoveries().size(), c.kept);
    vxhost::ForgetPendingRecoveries();
    RemoveFiles(folder + L"\\*.vxrecovery");
    SendMessageW(Edit(), EM_SETMODIFY, FALSE, 0);
  }
}

// Work nobody could be asked about is neither restored nor given up: the
// next start that can ask offers it again.
TEST_F(EditorFrameTest, WorkNobodyCouldBeAskedAboutStaysForALaterStart) {
  const std::wstring path = Open(L"later.html", "old", Encoding::Utf8);
  Type(L"work");
  SendMessageW(frame->GetHandle(), WM_ENDSESSION, TRUE, 0);
  const std::wstring recovery = path + L".vxrecovery";
  ASSERT_EQ(vxhost::PendingRecoveries(), std::vector<std::wstring>{recovery});
  frame->NewDocument();
  prompt.Script({});
  EXPECT_FALSE(frame->OfferRecovery());
  EXPECT_EQ(prompt.Asked().size(), 1u);
  EXPECT_EQ(vxhost::PendingRecoveries(), std::vector<std::wstring>{recovery});
  EXPECT_NE(GetFileAttributesW(recovery.c_str()), INVALID_FILE_ATTRIBUTES);
  prompt.Script({IDYES});
  EXPECT_TRUE(frame->OfferRecovery());
  EXPECT_EQ(Shown(), L"work");
  EXPECT_TRUE(vxhost::PendingRecoveries().empty());
}

// ShutdownBlockReasonCreate and ShutdownBlockReasonDestroy as the editor
// calls them; Wine shows no reason, so the calls are counted.
struct ShutdownBlockSpy {
  static inline std::vector<std::wstring> calls;
  static BOOL WINAPI Create(HWND, LPCWSTR reason) {
    calls.push_back(reason);
    return TRUE;
  }
  static BOOL WINAPI Destroy(HWND) {
    calls.push_back(L"destroy");
    return TRUE;
  }
  FARPROC create, destroy;
  ShutdownBlockSpy() {
    calls.clear();
    create = Patch("ShutdownBlockReasonCreate", reinterpret_cast<FARPROC>(reinterpret_cast<void*>(&Create)));
    destroy = Patch("ShutdownBlockReasonDestroy", reinterpret_cast<FARPROC>(reinterpret_cast<void*>(&Destroy)));
  }
  ~ShutdownBlockSpy() {
    Patch("ShutdownBlockReasonCreate", create);
    Patch("ShutdownBlockReasonDestroy", destroy);
  }
  static FARPROC Patch(const char* name, FARPROC replacement) {
    return vx::test_support::PatchImport(GetModuleHandleW(nullptr), "user32.dll", name, replacement);
  }
};

// While typed changes are unsaved, the session's end is held with a reason;
// a save or a new document lets it go. When the session ends anyway, the
// work goes to a recovery file that the next start offers back.
TEST_F(EditorFrameTest, UnsavedWorkHoldsTheSessionAndIsRecoveredAtTheNextStart) {
  const std::wstring path = Open(L"work.html", "\xEF\xBB\xBFold\r\n", Encoding::Utf8);
  {
    ShutdownBlockSpy spy;
    ASSERT_NE(spy.create, nullptr);
    SendMessageW(Edit(), WM_CHAR, L'x', 1);
    SendMessageW(Edit(), WM_CHAR, L'y', 1);
    ASSERT_TRUE(frame->SaveDocument());
    EXPECT_EQ(spy.calls, (std::vector<std::wstring>{L"保存していない文書があります。", L"destroy"}));
  }
  EXPECT_EQ(ReadBytes(path), "\xEF\xBB\xBFxyold\r\n");

  SendMessageW(Edit(), WM_CHAR, L'\u00E9', 1);
  SendMessageW(frame->GetHandle(), WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF);
  const std::wstring recovery = path + L".vxrecovery";
  EXPECT_EQ(vxhost::PendingRecoveries(), std::vector<std::wstring>{recovery});
  EXPECT_EQ(ReadBytes(path), "\xEF\xBB\xBFxyold\r\n") << "the document itself is not touched";

  // The next start: a new document, then the offer.
  frame->NewDocument();
  prompt.atScreen = true;
  {
    MessageBoxAnswers yes({IDYES});
    EXPECT_TRUE(frame->OfferRecovery());
    EXPECT_EQ(yes.boxes, 1u);
  }
  EXPECT_EQ(Shown(), L"xy\u00E9old\r\n");
  EXPECT_EQ(frame->DocumentPath(), path);
  EXPECT_TRUE(Modified());
  EXPECT_TRUE(vxhost::PendingRecoveries().empty());
  EXPECT_EQ(GetFileAttributesW(recovery.c_str()), INVALID_FILE_ATTRIBUTES) << "a restored file is gone";
  ASSERT_TRUE(frame->SaveDocument());
  EXPECT_EQ(ReadBytes(path), "\xEF\xBB\xBFxy\xC3\xA9old\r\n");
  {
    MessageBoxAnswers none({});
    EXPECT_FALSE(frame->OfferRecovery()) << "offered once";
    EXPECT_EQ(none.boxes, 0u);
  }

  // An untitled document's work goes to the user's application data.
  prompt.atScreen = false;
  frame->NewDocument();
  SendMessageW(Edit(), WM_CHAR, L'\u8868', 1);
  SendMessageW(frame->GetHandle(), WM_ENDSESSION, TRUE, 0);
  ASSERT_EQ(vxhost::PendingRecoveries().size(), 1u);
  EXPECT_PRED2(Contains, vxhost::PendingRecoveries()[0], L"\\vxhost\\untitled.vxrecovery");
  prompt.atScreen = true;
  {
    MessageBoxAnswers yes({IDYES});
    EXPECT_TRUE(frame->OfferRecovery());
  }
  EXPECT_EQ(Shown(), L"\u8868");
  EXPECT_EQ(frame->DocumentPath(), L"");
  EXPECT_EQ(frame->DocumentEncoding(), Encoding::Utf8);
  prompt.atScreen = false;
}

// A recovery file cut short is offered as it is, as an untitled document,
// never as the document it names.
TEST_F(EditorFrameTest, DamagedAndUnwritableRecoveryFilesAreToldNeverApplied) {
  const std::wstring path = Open(L"doc.html", "original", Encoding::Utf8);
  Type(L"unsaved work");
  SendMessageW(frame->GetHandle(), WM_ENDSESSION, TRUE, 0);
  ASSERT_EQ(vxhost::PendingRecoveries(), std::vector<std::wstring>{path + L".vxrecovery"});
  const std::wstring recovery = path + L".vxrecovery";
  std::string bytes = ReadBytes(recovery);
  WriteBytes(recovery, bytes.substr(0, bytes.size() - 4));
  frame->NewDocument();
  prompt.atScreen = true;
  {
    MessageBoxAnswers noThenOk({IDNO, IDOK});
    EXPECT_FALSE(frame->OfferRecovery());
    EXPECT_EQ(noThenOk.boxes, 2u);
    EXPECT_PRED2(Contains, prompt.LastTold(), recovery) << "the user is told where it stays";
  }
  EXPECT_EQ(Shown(), L"");
  vxhost::Recovery kept;
  kept.text = L"x";
  ASSERT_TRUE(vxhost::WriteRecovery(recovery, kept));
  WriteBytes(recovery, bytes.substr(0, bytes.size() - 4));
  {
    MessageBoxAnswers yes({IDYES});
    EXPECT_TRUE(frame->OfferRecovery());
  }
  EXPECT_PRED2(Contains, Shown(), L"document=" + path);
  EXPECT_PRED2(Contains, Shown(), L"\n\nunsaved ");
  EXPECT_EQ(frame->DocumentPath(), L"");
  EXPECT_EQ(ReadBytes(path), "original");
  prompt.atScreen = false;
}


struct RecoveryTest : EditorFrameTest {
  vxhost::ScriptedPrompt others;
  // Another editor window of the same session.
  std::unique_ptr<vxhost::TEditorFrame> OtherWindow() {
    auto window = std::make_unique<vxhost::TEditorFrame>("", others);
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
    prompt.atScreen = true;
    MessageBoxAnswers boxes(std::move(answers));
    const bool restored = frame->OfferRecovery(requested);
    prompt.atScreen = false;
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
    prompt.atScreen = true;
    {
      MessageBoxAnswers none({});
      EndSession(*frame);
      EXPECT_EQ(none.boxes, 0u);
    }
    prompt.atScreen = false;
    const std::vector<std::wstring> pending = vxhost::PendingRecoveries();
    ASSERT_EQ(pending.size(), 1u);
    EXPECT_PRED2(Contains, pending[0], L"\\vxhost\\");
    EXPECT_EQ(TextOf(pending[0]), L"work");
    DeleteFileW(pending[0].c_str());
  }
  vxhost::NoteUnkeptWork(L"C:\\lost\\page.html");
  EXPECT_FALSE(NextStart({IDOK}));
  EXPECT_PRED2(Contains, prompt.LastTold(), L"C:\\lost\\page.html");
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
  prompt.atScreen = true;
  {
    MessageBoxAnswers ok({IDOK});
    EXPECT_FALSE(frame->OfferRecovery());
    EXPECT_EQ(ok.boxes, 1u) << "told, not asked";
  }
  prompt.atScreen = false;
  EXPECT_PRED2(Contains, prompt.LastTold(), L"復元用のファイルを読み込めません");
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
  EXPECT_PRED2(Contains, prompt.LastTold(), L"ファイルの内容が変わっています");
  EXPECT_PRED2(Contains, prompt.LastTold(), path);
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
