// The sample editor's answer to insert requests, on a real EDIT control.
// Each case sends the requests the add-in would send and reads back the text
// with a "|" typed at the caret, so the caret is checked in the control's own
// position units. Texts of this file are code page 932 in the binary.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "protocol/host_protocol.h"
#include "host/document_file_win32.h"
#include "host/edit_protocol_win32.h"

namespace {

using Request = std::pair<std::int32_t, const char*>;

struct EditProtocolTest : ::testing::Test {
  HWND edit = nullptr;
  vxhost::EditProtocol protocol;

  void SetUp() override {
    edit = CreateWindowExA(0, "EDIT", "", WS_OVERLAPPEDWINDOW | ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN, 0, 0,
                           400, 300, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(edit, nullptr);
    ASSERT_TRUE(protocol.Install(edit));
  }
  void TearDown() override { DestroyWindow(edit); }

  void Start(const char* text, int selStart, int selEnd) {
    SetWindowTextA(edit, text);
    SendMessageA(edit, EM_SETSEL, selStart, selEnd);
  }
  void Send(const std::vector<Request>& requests) {
    // Widened the way a 32-bit sender's signed code arrives on this side.
    for (const Request& r : requests) {
      SendMessageA(edit, vx::WM_HOST_INSERT, static_cast<WPARAM>(static_cast<std::uint32_t>(r.first)),
                   reinterpret_cast<LPARAM>(r.second));
    }
  }
  std::string WithCaret() {
    SendMessageA(edit, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>("|"));
    return vxhost::EditText(edit);
  }
};

TEST_F(EditProtocolTest, PairsWrapTheSelectionAndLeaveTheCaretBeforeTheTrail) {
  Start("", 0, 0);
  Send({{vx::InsertLead, "<P>"}, {vx::InsertTrail, "</P>"}});
  EXPECT_EQ(WithCaret(), "<P>|</P>");

  // "日本" is two double-byte characters: positions must not be mixed with bytes.
  Start("abc 日本", 4, -1);
  Send({{vx::InsertLead, "<B>"}, {vx::InsertTrail, "</B>"}});
  EXPECT_EQ(WithCaret(), "abc <B>日本|</B>");

  Start("ここ", 0, -1);
  Send({{vx::InsertLead, "<A HREF=\"\">"}, {vx::InsertLinkTrail, "</A>"}});
  EXPECT_EQ(WithCaret(), "<A HREF=\"\">ここ|</A>");

  // A trail with no lead before it closes what is selected.
  Start("word", 0, 4);
  Send({{vx::InsertTrail, "</I>"}});
  EXPECT_EQ(WithCaret(), "word|</I>");
}

TEST_F(EditProtocolTest, TemplateLinesEndInCrLfAndIgnoreTheRepeatedText) {
  Start("", 0, 0);
  Send({{vx::InsertLead, "<HTML>"}, {vx::InsertLineEnd, "<HTML>"},
        {vx::InsertLineEnd, "<HTML>"},
        {vx::InsertLead, "  <BODY>"}, {vx::InsertLineEnd, "  <BODY>"}});
  EXPECT_EQ(WithCaret(), "<HTML>\r\n\r\n  <BODY>\r\n|");
}

TEST_F(EditProtocolTest, LoneInsertsGoBeforeTheSelectionAndRemoveNothing) {
  Start("keep", 0, 4);
  Send({{vx::InsertLead, "<BR>"}});
  EXPECT_EQ(WithCaret(), "<BR>|keep");

  // Stored texts arrive as they are: backslashes, tabs and 0x5C trail bytes.
  Start("keep", 0, 4);
  Send({{vx::InsertDefinitionText, "表\\n\t<TD>"}});
  EXPECT_EQ(WithCaret(), "表\\n\t<TD>|keep");

  Start("same", 2, 2);
  Send({{vx::InsertDefinitionText, ""}, {7, "<X>"}, {vx::InsertLead, nullptr}});
  EXPECT_EQ(WithCaret(), "sa|me");
}

// Beyond the control's default limit of 32767 characters an insertion would
// be cut off without a word; the editor lifts the limit.
TEST_F(EditProtocolTest, LargeDocumentStillTakesWholeInsertions) {
  std::string big;
  for (int line = 0; line < 500; ++line) big += std::string(78, 'x') + "\r\n";
  Start(big.c_str(), 1 << 30, 1 << 30);  // caret at the end
  Send({{vx::InsertLead, "<P>"}, {vx::InsertTrail, "</P>"}});
  EXPECT_EQ(vxhost::EditText(edit), big + "<P></P>");
}

}  // namespace
