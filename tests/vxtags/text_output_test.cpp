// Field escaping of vxtags: every byte sequence stays on one line and can be
// read back, valid code page 932 is kept (or converted), broken bytes show.
#include <string>

#include <gtest/gtest.h>

#include "vxtags/text_output.h"

namespace {

using vxtags::Cp932FieldToUtf8;
using vxtags::EscapeField;

std::string Escape(const std::string& bytes) { return EscapeField(bytes.data(), bytes.size()); }
std::string ToUtf8(const std::string& bytes) { return Cp932FieldToUtf8(bytes.data(), bytes.size()); }

TEST(TextOutput, AsciiControlsBackslashAndTabAreEscaped) {
  EXPECT_EQ(Escape("<A HREF=\"\">"), "<A HREF=\"\">");
  EXPECT_EQ(Escape("a\\b\tc\nd\re\x7F"), "a\\\\b\\tc\\x0Ad\\x0De\\x7F");
  EXPECT_EQ(Escape(std::string("x\0y", 3)), "x\\x00y");
  EXPECT_EQ(ToUtf8("a\\b\tc\x01"), "a\\\\b\\tc\\x01");
}

TEST(TextOutput, ValidCodePage932IsKeptOrConverted) {
  // 表 is 95 5C: its trail byte is not a backslash.
  const std::string bytes = "\x95\x5C\x81\x40\xC0\xB2\xC4\xD9\x82\x50";
  EXPECT_EQ(Escape(bytes), bytes);
  EXPECT_EQ(ToUtf8(bytes), "表　ﾀｲﾄﾙ１");
}

TEST(TextOutput, InvalidSequencesShowEachByte) {
  EXPECT_EQ(Escape("\x80\xA0\xFD\xFF"), "\\x80\\xA0\\xFD\\xFF");
  EXPECT_EQ(ToUtf8("\x80\xA0\xFD\xFF"), "\\x80\\xA0\\xFD\\xFF");
  // An unassigned pair is one character to the host, escaped as a whole.
  EXPECT_EQ(Escape("\x85\x40z"), "\\x85\\x40z");
  EXPECT_EQ(ToUtf8("\x85\x40z"), "\\x85\\x40z");
  // A lead byte with no trail: at the end, or before a byte that cannot trail.
  EXPECT_EQ(ToUtf8("a\x81"), "a\\x81");
  EXPECT_EQ(ToUtf8("\x81\x1F\x81\x40"), "\\x81\\x1F　");
}

}  // namespace
