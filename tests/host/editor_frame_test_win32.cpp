// The sample editor's frame: documents on disk in their encodings, the
// title and menus, typed characters, files dropped, the command line. Texts
// of this file are code page 932 in the binary. The cases named "AnyCodePage"
// also run with the system code page 1252 (an English system).
#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "host/document_file_win32.h"
#include "hostkit/dpi_awareness_win32.h"
#include "host/editor_frame_win32.h"
#include "host/recovery_win32.h"
#include "protocol/host_protocol.h"
#include "protocol/messages_win32.h"
#include "tests/host/editor_fixture_win32.h"
#include "tests/win32/dialog_hooks_win32.h"

namespace {

using vx::test_support::MessageBoxAnswers;
using vxhost::Encoding;
using vxhost::FileResult;
using namespace vx::test_support;

// One file as the editor finds it: what it shows, or why it refuses it.
struct EncodingCase {
  const char* name;
  std::string_view bytes;
  FileResult result;
  Encoding encoding;
  const wchar_t* shown;  // the text shown, or a part of the refusal's message
};

static const EncodingCase ENCODING_CASES[] = {
    {"half-width kana",         "\xB0\xB1\r\n",                        FileResult::Ok,           Encoding::ShiftJis, L"\uFF70\uFF71\r\n"},
    {"taka, IBM code",          "a\xFB\xFC\r\n",                       FileResult::Ok,           Encoding::ShiftJis, L"a\u9AD9\r\n"},
    {"taka, NEC-selected code", "a\xEE\xE0\r\n",                       FileResult::Ok,           Encoding::ShiftJis, L"a\u9AD9\r\n"},
    {"0x5C trail bytes",        "\x95\x5C\x83\x5C\\\n",                FileResult::Ok,           Encoding::ShiftJis, L"\u8868\u30BD\\\n"},
    {"ASCII declared Shift_JIS","<meta charset=\"Shift_JIS\">\r\n",    FileResult::Ok,           Encoding::ShiftJis, L"<meta charset=\"Shift_JIS\">\r\n"},
    {"ASCII",                   "<p>a</p>\r\n",                        FileResult::Ok,           Encoding::Utf8,     L"<p>a</p>\r\n"},
    {"UTF-8",                   "<p>\xE8\xA1\xA8</p>\r\n",             FileResult::Ok,           Encoding::Utf8,     L"<p>\u8868</p>\r\n"},
    {"UTF-8 with BOM",          "\xEF\xBB\xBF<p>\xC3\xA9</p>\r\n",     FileResult::Ok,           Encoding::Utf8,     L"<p>\u00E9</p>\r\n"},
    {"valid as both",           "\xE3\x81\x82\xE3\x81\x84\r\n",        FileResult::Ok,           Encoding::Utf8,     L"\u3042\u3044\r\n"},
    {"UTF-8 declared Shift_JIS","<meta charset=sjis>\xE3\x81\x82\r\n",    FileResult::Ok,           Encoding::Utf8,     L"<meta charset=sjis>\u3042\r\n"},
    {"declaration commented out","<!--<meta charset=sjis>-->\xE3\x81\x82", FileResult::Ok,          Encoding::Utf8,     L"<!--<meta charset=sjis>-->\u3042"},
    {"CR-only lines, both taka codes","\xFB\xFC\r\xEE\xE0\r",              FileResult::Ok,           Encoding::ShiftJis, L"\u9AD9\r\u9AD9\r"},
    {"invalid trail byte",      "ok\r\nab\x81\x7F\r\n",                FileResult::InvalidBytes, Encoding::ShiftJis, L"2 行目の 3 バイト目（0x81）は Shift_JIS"},
    {"lone lead at the end",    "ok\x82",                              FileResult::InvalidBytes, Encoding::ShiftJis, L"1 行目の 3 バイト目（0x82）は Shift_JIS"},
    {"invalid UTF-8 after BOM", "\xEF\xBB\xBF" "ab\xC3(\r\n",          FileResult::InvalidBytes, Encoding::Utf8,     L"1 行目の 6 バイト目（0xC3）は UTF-8"},
    {"NUL",                     std::string_view("a\0b", 3),           FileResult::NotText,      Encoding::Utf8,     L"NUL 文字"},
};

// The insert request every opened case takes at its end, and what it adds
// to the file in each encoding.
const char INSERTED[] = "<b>表</b>";
const char INSERTED_SHIFT_JIS[] = "<b>\x95\x5C</b>";
const char INSERTED_UTF8[] = "<b>\xE8\xA1\xA8</b>";

// The system code page the run was meant to have: a variable that never
// reached Wine would leave every case running on code page 932.
TEST_F(EditorFrameTest, TheRunHasTheSystemCodePageItWasGivenOnAnyCodePage) {
  const char* expected = std::getenv("VX_EXPECT_CODE_PAGE");
  EXPECT_EQ(GetACP(), expected ? static_cast<UINT>(std::atoi(expected)) : 932u);
}

// Every file opens in the encoding it is most likely in, or is refused with
// its line and byte named; an insert request (code page 932 text) goes in as
// its characters, and the save writes every other byte as it was.
TEST_F(EditorFrameTest, DocumentsOpenAndSaveInTheirOwnEncodingOnAnyCodePage) {
  for (const EncodingCase& c : ENCODING_CASES) {
    SCOPED_TRACE(c.name);
    Type(L"current");
    SendMessageW(Edit(), EM_SETMODIFY, FALSE, 0);
    const std::wstring path = Write(L"case.html", c.bytes);
    const bool opened = frame->OpenDocument(path);
    ASSERT_EQ(opened, c.result == FileResult::Ok);
    if (!opened) {
      EXPECT_PRED2(Contains, prompt.LastTold(), c.shown) ;
      EXPECT_EQ(Shown(), L"current");
      continue;
    }
    EXPECT_EQ(frame->DocumentEncoding(), c.encoding);
    EXPECT_EQ(Shown(), c.shown);
    EXPECT_TRUE(Contains(Title(), std::wstring(L"case.html (") + vxhost::EncodingName(c.encoding) + L")"))
        << "title: " << Title().size();
    InsertAtEnd(INSERTED);
    ASSERT_TRUE(frame->SaveDocument());
    EXPECT_EQ(ReadBytes(path),
              std::string(c.bytes) + (c.encoding == Encoding::Utf8 ? INSERTED_UTF8 : INSERTED_SHIFT_JIS));
  }
}

// A character with two codes in code page 932 keeps the code its line had
// while the line is unchanged; a line the user changed is written afresh.
TEST_F(EditorFrameTest, UnchangedLinesKeepTheirCodesOnAnyCodePage) {
  const std::wstring path = Open(L"taka.html", "\xEE\xE0\r\n\xEE\xE0\r\n\xFB\xFC", Encoding::ShiftJis);
  InsertAtEnd("!");
  ASSERT_TRUE(frame->SaveDocument());
  EXPECT_EQ(ReadBytes(path), "\xEE\xE0\r\n\xEE\xE0\r\n\xFB\xFC!");
  SendMessageW(Edit(), EM_SETSEL, 0, 0);
  SendMessageA(Edit(), vx::WM_HOST_INSERT, static_cast<WPARAM>(vx::InsertDefinitionText),
               reinterpret_cast<LPARAM>("x"));
  ASSERT_TRUE(frame->SaveDocument());
  EXPECT_EQ(ReadBytes(path), "x\xFB\xFC\r\n\xEE\xE0\r\n\xFB\xFC!");
}

// A line keeps its original code while it is the same line, wherever edits
// move it; CR, LF and CR LF end lines alike. Each case inserts at the start
// of its text, saves, then inserts at the end and saves again.
TEST_F(EditorFrameTest, EditedLinesAreWrittenAfreshAndEveryOtherKeepsItsBytesOnAnyCodePage) {
  struct Case {
    const char* what;
    std::string_view bytes;
    const char* first;
    std::string_view saved;
  };
  static const Case CASES[] = {
      {"line 1 edited, 2 and 3 taka",   "a\r\n\xFB\xFC\r\n\xEE\xE0\r\n",  "x",     "xa\r\n\xFB\xFC\r\n\xEE\xE0\r\n"},
      {"the same with CR only",         "a\r\xFB\xFC\r\xEE\xE0\r",        "x",     "xa\r\xFB\xFC\r\xEE\xE0\r"},
      {"the same with LF only",         "a\n\xEE\xE0\n\xFB\xFC\n",        "x",     "xa\n\xEE\xE0\n\xFB\xFC\n"},
      {"a line put above",              "\xEE\xE0\r\n\xFB\xFC\r\n",       "new\r\n", "new\r\n\xEE\xE0\r\n\xFB\xFC\r\n"},
      {"NEC-selected codes",            "\xED\x40\r\n\xEE\xE0\r\n",        "x",     "x\xFA\x5C\r\n\xEE\xE0\r\n"},
  };
  for (const Case& c : CASES) {
    SCOPED_TRACE(c.what);
    const std::wstring path = Open(L"kept.html", c.bytes, Encoding::ShiftJis);
    SendMessageW(Edit(), EM_SETSEL, 0, 0);
    SendMessageA(Edit(), vx::WM_HOST_INSERT, static_cast<WPARAM>(vx::InsertDefinitionText),
                 reinterpret_cast<LPARAM>(c.first));
    ASSERT_TRUE(frame->SaveDocument());
    EXPECT_EQ(ReadBytes(path), c.saved);
    InsertAtEnd("!");
    ASSERT_TRUE(frame->SaveDocument());
    EXPECT_EQ(ReadBytes(path), std::string(c.saved) + "!") << "kept through the save before";
  }
}

// A page whose <meta charset> cannot read it opens in the encoding that can,
// and the user is told.
TEST_F(EditorFrameTest, ADeclarationThatCannotReadThePageIsOverruledAndTold) {
  const std::wstring path = Write(L"declared.html", "<meta charset=\"Shift_JIS\"><p>\xE3\x81\x82</p>");
  ASSERT_TRUE(frame->OpenDocument(path));
  EXPECT_EQ(frame->DocumentEncoding(), Encoding::Utf8);
  EXPECT_PRED2(Contains, prompt.LastTold(), L"<meta charset> は「Shift_JIS」ですが、その文字コードでは読めないため、UTF-8 で開きました");
}

// The menus and the title are UTF-16 in the window: right on any system.
TEST_F(EditorFrameTest, TitleAndMenusShowJapaneseOnAnyCodePage) {
  EXPECT_EQ(Title(), L"無題 (UTF-8) - VX サンプルエディター");
  wchar_t caption[64] = {};
  GetMenuStringW(GetMenu(frame->GetHandle()), 0, caption, 64, MF_BYPOSITION);
  EXPECT_STREQ(caption, L"ファイル(&F)");
  GetMenuStringW(GetMenu(frame->GetHandle()), vxhost::CmdSaveAs, caption, 64, MF_BYCOMMAND);
  EXPECT_STREQ(caption, L"名前を付けて保存(&A)...");
}

// A file valid as both is read as UTF-8 unless it says otherwise; the user
// can read it again as Shift_JIS, and Save As converts it.
TEST_F(EditorFrameTest, ADocumentIsReopenedAndSavedInTheOtherEncoding) {
  const std::wstring path = Write(L"both.html", "\xE3\x81\x82\xE3\x81\x84\r\n");
  ASSERT_TRUE(frame->OpenDocument(path));
  ASSERT_TRUE(frame->ReopenDocument(Encoding::ShiftJis));
  EXPECT_EQ(frame->DocumentEncoding(), Encoding::ShiftJis);
  EXPECT_EQ(Shown(), L"\u7E3A\u3085\uFF1E\r\n");
  ASSERT_TRUE(frame->ReopenDocument(Encoding::Utf8));
  const std::wstring copy = folder + L"\\copy.html";
  ASSERT_TRUE(frame->SaveDocumentAs(copy, Encoding::ShiftJis));
  EXPECT_EQ(ReadBytes(copy), "\x82\xA0\x82\xA2\r\n");
  EXPECT_EQ(frame->DocumentPath(), copy);
  EXPECT_PRED2(Contains, Title(), L"copy.html (Shift_JIS)");
  // A document that cannot be read in the chosen encoding stays as it was.
  WriteBytes(copy, "\xB0\r\n");
  EXPECT_FALSE(frame->ReopenDocument(Encoding::Utf8));
  EXPECT_EQ(frame->DocumentEncoding(), Encoding::ShiftJis);
  EXPECT_EQ(Shown(), L"\u3042\u3044\r\n");
}

// A <meta charset> that names another encoding than the save's is asked
// about (told, when nobody can be asked); No saves nothing.
TEST_F(EditorFrameTest, AMetaCharsetThatNamesAnotherEncodingIsWarnedAbout) {
  const std::wstring path = Write(L"meta.html", "old");
  Type(L"<html><head><META Charset='shift_jis'>");
  ASSERT_TRUE(frame->SaveDocument(path.c_str()));
  EXPECT_PRED2(Contains, prompt.LastTold(), L"<meta charset> は「shift_jis」ですが、文書は UTF-8 で保存されます");
  prompt.atScreen = true;
  {
    MessageBoxAnswers no({IDNO});
    Type(L"<meta http-equiv=\"Content-Type\" content=\"text/html; charset=Shift_JIS\">");
    EXPECT_FALSE(frame->SaveDocument());
    EXPECT_EQ(no.boxes, 1u);
    EXPECT_TRUE(Modified());
  }
  {
    MessageBoxAnswers yesThenOk({IDYES, IDOK});
    EXPECT_TRUE(frame->SaveDocumentAs(path, Encoding::ShiftJis)) << "the charset matches: nothing to ask";
    EXPECT_EQ(yesThenOk.boxes, 0u);
    Type(L"<meta charset=\"UTF-8\">\u00e9");
    EXPECT_FALSE(frame->SaveDocument()) << "asked about the charset, then told Shift_JIS has no e-acute";
    EXPECT_EQ(yesThenOk.boxes, 2u);
  }
  prompt.atScreen = false;
}

// 0x5C trail bytes, a lone LF, CR LF and full-width spaces all survive.
TEST_F(EditorFrameTest, DocumentBytesRoundTripThroughTheEditor) {
  const std::string bytes = "<P>表示　ソフト</P>\r\n\\ back\nslash\r\n\x81\x40";
  std::wstring source = Write(L"in.html", bytes);
  ASSERT_TRUE(frame->OpenDocument(source));
  EXPECT_EQ(vxhost::EditText(Edit()), bytes);
  EXPECT_EQ(frame->DocumentPath(), source);

  std::wstring copy = folder + L"\\out.html";
  ASSERT_TRUE(frame->SaveDocument(copy.c_str()));
  EXPECT_EQ(ReadBytes(copy), bytes);
  EXPECT_EQ(frame->DocumentPath(), copy);
  EXPECT_FALSE(Modified());
}

// Opening a file that the control cannot hold whole would lose its tail on
// the next save, so it is refused and the current document stays.
TEST_F(EditorFrameTest, RefusedFilesAndFailedSavesLeaveEverythingAsItWas) {
  SetWindowTextW(Edit(), L"current");
  EXPECT_FALSE(frame->OpenDocument(folder + L"\\missing.html"));
  EXPECT_EQ(vxhost::EditText(Edit()), "current");

  std::wstring bad = folder + L"\\no-such-folder\\x.html";
  EXPECT_EQ(vxhost::WriteDocument(bad.c_str(), "x"), FileResult::FolderNotWritable);
  EXPECT_FALSE(frame->SaveDocument(bad.c_str()));
  EXPECT_PRED2(Contains, prompt.LastTold(), L"フォルダーに新しいファイルを作れません");

  // A target that cannot be replaced (held open by another program) stays as it was.
  std::wstring target = Write(L"kept.html", "old");
  HANDLE held = CreateFileW(target.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  EXPECT_EQ(vxhost::WriteDocument(target.c_str(), "new"), FileResult::WriteFailed);
  CloseHandle(held);
  EXPECT_EQ(ReadBytes(target), "old");

  // A file that happens to carry a name a save might use for its own work is no concern of the save.
  std::wstring bystander = Write(L"kept.html.vxsave", "mine");
  EXPECT_EQ(vxhost::WriteDocument(target.c_str(), "new"), FileResult::Ok);
  EXPECT_EQ(ReadBytes(target), "new");
  EXPECT_EQ(ReadBytes(bystander), "mine");
  EXPECT_FALSE(LeftOwnFiles());
}

// Typed or pasted characters that Shift_JIS lacks (one from each of
// Latin, symbols, a CJK character beyond U+FFFF, an emoji and a lone half of a
// pair): nothing is written, the document stays modified, and the user reads
// the first such character and its line. UTF-8 holds all but the lone half.
TEST_F(EditorFrameTest, ACharacterShiftJisCannotHoldIsNamedAndNothingIsSaved) {
  const std::wstring target = Open(L"kept.html", "old", Encoding::ShiftJis);
  const std::wstring unsavable[] = {L"\u00FC", L"\u20AC", L"\U00020BB7", L"\U0001F600", std::wstring(1, L'\xD800')};
  for (const std::wstring& character : unsavable) {
    Type((L"<P>\u8868</P>\r\nab" + character + L"c\u00E9\r\n").c_str());
    EXPECT_FALSE(frame->SaveDocument(target.c_str()));
    EXPECT_EQ(ReadBytes(target), "old");
    EXPECT_TRUE(Modified());
    const std::wstring& report = prompt.LastTold();
    EXPECT_PRED2(Contains, report, L"2 行目の文字「" + character + L"」");
    EXPECT_PRED2(Contains, report, L"は Shift_JIS で保存できません");
  }
  Type(L"\U0001F600");
  EXPECT_FALSE(frame->SaveDocument(target.c_str()));
  EXPECT_PRED2(Contains, prompt.LastTold(), L"1 行目の文字「\U0001F600」（U+1F600）");
  EXPECT_FALSE(LeftOwnFiles());

  // What the code page holds, read as UTF-16, is saved byte for byte.
  Type(L"\u30BD\u8868\u2460\\");
  ASSERT_TRUE(frame->SaveDocument(target.c_str()));
  EXPECT_EQ(ReadBytes(target), "\x83\x5C\x95\x5C\x87\x40\\");
  EXPECT_FALSE(Modified());

  ASSERT_TRUE(frame->SaveDocumentAs(target, Encoding::Utf8));
  Type(L"\u00FC\U0001F600");
  ASSERT_TRUE(frame->SaveDocument());
  EXPECT_EQ(ReadBytes(target), "\xC3\xBC\xF0\x9F\x98\x80");
  Type(L"a\xD800");
  EXPECT_FALSE(frame->SaveDocument());
  EXPECT_PRED2(Contains, prompt.LastTold(), L"は UTF-8 で保存できません");
}

// A character typed through the Unicode loop arrives as itself, also one
// that code page 932 lacks.
TEST_F(EditorFrameTest, TypedCharactersArriveAsThemselvesOnAnyCodePage) {
  SetFocus(Edit());
  for (const wchar_t character : {L'\u00FC', L'\u8868', L'\u20AC'}) {
    PostMessageW(Edit(), WM_CHAR, character, 1);
  }
  app.PumpWaitingMessages();
  EXPECT_EQ(Shown(), L"\u00FC\u8868\u20AC");
  EXPECT_TRUE(Modified());
}

// "Could not read" is never "empty": no file is written over.
TEST_F(EditorFrameTest, AnEditControlThatCannotBeReadIsNeverSavedAsEmpty) {
  const std::wstring target = Write(L"kept.html", "old");
  vxhost::UnsavableCharacter where;
  vxhost::DocumentFormat format;
  EXPECT_EQ(vxhost::SaveFromEdit(nullptr, target.c_str(), format, where), FileResult::EditUnreadable);
  HWND gone = CreateWindowExA(0, "EDIT", "text", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  DestroyWindow(gone);
  EXPECT_EQ(vxhost::SaveFromEdit(gone, target.c_str(), format, where), FileResult::EditUnreadable);
  EXPECT_EQ(ReadBytes(target), "old");

  // An empty document is no failure: it is saved as an empty file.
  Type(L"");
  ASSERT_TRUE(frame->SaveDocument(target.c_str()));
  EXPECT_EQ(ReadBytes(target), "");
}

// What a save writes can be opened again; a folder that takes no new file is
// told as such; a failed replacement leaves no file of the save's own.
TEST_F(EditorFrameTest, SaveLimitsAndFailuresMatchWhatOpeningAccepts) {
  const std::wstring target = Write(L"big.html", "old");
  EXPECT_EQ(vxhost::WriteDocument(target.c_str(), std::string(vxhost::MAX_DOCUMENT_BYTES + 1, 'a')),
            FileResult::TooLarge);
  EXPECT_EQ(ReadBytes(target), "old");
  ASSERT_EQ(vxhost::WriteDocument(target.c_str(), std::string(vxhost::MAX_DOCUMENT_BYTES, 'a')), FileResult::Ok);
  std::string bytes;
  EXPECT_EQ(vxhost::ReadDocument(target.c_str(), bytes), FileResult::Ok);
  EXPECT_EQ(bytes.size(), vxhost::MAX_DOCUMENT_BYTES);
  WriteBytes(target, std::string(vxhost::MAX_DOCUMENT_BYTES + 1, 'a'));
  EXPECT_FALSE(frame->OpenDocument(target));
  EXPECT_PRED2(Contains, prompt.LastTold(), L"扱える文書は 16 MB までです");

  // A folder that exists but holds no new file (the kernel's own).
  EXPECT_EQ(vxhost::WriteDocument(L"Z:\\proc\\vx.html", "x"), FileResult::FolderNotWritable);

  // The target is a folder: the replacement fails after the file was written.
  const std::wstring subfolder = folder + L"\\a-folder";
  CreateDirectoryW(subfolder.c_str(), nullptr);
  EXPECT_EQ(vxhost::WriteDocument(subfolder.c_str(), "x"), FileResult::WriteFailed);
  EXPECT_FALSE(LeftOwnFiles());
  RemoveDirectoryW(subfolder.c_str());
}

// A dropped document opens with its name whole; a dropped definition file
// becomes the tag window's. (Not run on code page 1252: without a compiled
// glibc locale for it, Wine makes no file of a Japanese name.)
TEST_F(EditorFrameTest, DroppedFilesOpenAsDocumentOrDefinitionFile) {
  const std::wstring path = Write(L"\u8868\u00E9.html", "<p>\xC3\xA9</p>");
  SendMessageW(frame->GetHandle(), WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop(path)), 0);
  EXPECT_EQ(frame->DocumentPath(), path);
  EXPECT_EQ(Shown(), L"<p>\u00E9</p>");
  EXPECT_PRED2(Contains, Title(), L"\u8868\u00E9.html (UTF-8)");

  const std::wstring definitions = Write(L"mine.DEF", "[VX-HTML定義ファイル]\r\n");
  SendMessageW(frame->GetHandle(), WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop(definitions)), 0);
  EXPECT_EQ(vxhost::WidePath(frame->DefinitionFile()), definitions);
  EXPECT_EQ(frame->DocumentPath(), path);
}

TEST_F(EditorFrameTest, PathHelpersFindFoldersAndDefinitionFiles) {
  EXPECT_EQ(vxhost::FolderOf(std::string("C:\\表\\sample.def")), "C:\\表\\");
  EXPECT_EQ(vxhost::FolderOf(std::string("C:\\ソ")), "C:\\");  // ソ ends in 0x5C too
  EXPECT_EQ(vxhost::FolderOf(std::string("sample.def")), "");
  EXPECT_EQ(vxhost::FolderOf(std::wstring(L"C:\\\u30BD\\a/b.html")), L"C:\\\u30BD\\a/");
  EXPECT_TRUE(vxhost::IsDefinitionFileName(L"C:\\x\\mytags.Def"));
  EXPECT_FALSE(vxhost::IsDefinitionFileName(L"C:\\x.def\\page.html"));
  EXPECT_FALSE(vxhost::IsDefinitionFileName(L"page.html"));
}

// The process is DPI aware once declared, per-monitor v2 or system-aware as
// the system offers.
TEST_F(EditorFrameTest, TheEditorDeclaresItselfDpiAware) {
  EXPECT_NE(vxhost::DeclareDpiAwareness(), vxhost::DpiAwareness::Unchanged);
  EXPECT_TRUE(IsProcessDPIAware());
}

}  // namespace
