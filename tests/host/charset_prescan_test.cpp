// The declared encoding as a browser's scan finds it, and the encoding the
// editor opens a file in, over a table of documents and their bytes.
#include "host/charset_prescan.h"

#include <gtest/gtest.h>

#include <string>

namespace vxhost {
namespace {

struct PrescanCase {
  const char* what;
  std::string bytes;
  const char* label;  // nullptr: nothing declared
  bool known;
  Encoding encoding;
};

TEST(PrescanCharset, FindsTheDeclarationABrowserWould) {
  const std::string filler(1010, 'x');
  const PrescanCase CASES[] = {
      {"charset, double quotes",            "<meta charset=\"Shift_JIS\">",                                     "Shift_JIS",   true,  Encoding::ShiftJis},
      {"charset, single quotes, caps",      "<META CHARSET='utf-8'>",                                           "utf-8",       true,  Encoding::Utf8},
      {"charset, unquoted",                 "<meta charset=sjis>",                                              "sjis",        true,  Encoding::ShiftJis},
      {"charset, unquoted, then slash",     "<meta charset=utf-8/>",                                            nullptr,       false, Encoding::Utf8},
      {"spaces round the equals sign",      "<meta charset = \"windows-31j\" >",                                "windows-31j", true,  Encoding::ShiftJis},
      {"label with spaces inside quotes",   "<meta charset=\" shift_jis \">",                                   "shift_jis",   true,  Encoding::ShiftJis},
      {"http-equiv then content",           "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=Shift_JIS\">", "Shift_JIS", true, Encoding::ShiftJis},
      {"content then http-equiv",           "<meta content='text/html;charset=\"x-sjis\"' http-equiv=content-type>", "x-sjis", true, Encoding::ShiftJis},
      {"content without http-equiv",        "<meta content=\"text/html; charset=Shift_JIS\"><meta charset=utf-8>", "utf-8",    true,  Encoding::Utf8},
      {"charset= without a value first",    "<meta http-equiv=content-type content=\"charset; charset=utf8\">", "utf8",        true,  Encoding::Utf8},
      {"inside a comment",                  "<!-- <meta charset=\"Shift_JIS\"> --><meta charset=\"utf-8\">",    "utf-8",       true,  Encoding::Utf8},
      {"the shortest comment",              "<!--><meta charset=sjis>",                                         "sjis",        true,  Encoding::ShiftJis},
      {"a comment that never ends",         "<!-- <meta charset=sjis>",                                         nullptr,       false, Encoding::Utf8},
      {"inside an attribute value",         "<p title='<meta charset=sjis>'><meta charset=utf-8>",              "utf-8",       true,  Encoding::Utf8},
      {"in a processing instruction",       "<?xml encoding='sjis'?><meta charset=shift_jis>",                  "shift_jis",   true,  Encoding::ShiftJis},
      {"a label no browser knows",          "<meta charset=cp932><meta charset=shift_jis>",                     "shift_jis",   true,  Encoding::ShiftJis},
      {"an encoding the editor lacks",      "<meta charset=EUC-JP><meta charset=shift_jis>",                    "EUC-JP",      false, Encoding::Utf8},
      {"UTF-16 is taken as UTF-8",          "<meta charset=utf-16le>",                                          "utf-16le",    true,  Encoding::Utf8},
      {"the first of two attributes wins",  "<meta charset=sjis charset=utf-8>",                                "sjis",        true,  Encoding::ShiftJis},
      {"meta needs a space after its name", "<metacharset=sjis>",                                               nullptr,       false, Encoding::Utf8},
      {"past the first 1024 bytes",         filler + "<meta charset=sjis>",                                     nullptr,       false, Encoding::Utf8},
      {"cut at the 1024th byte",            std::string(1001, 'x') + "<meta charset=shift_jis>",                nullptr,       false, Encoding::Utf8},
      {"nothing at all",                    "<p>no declaration</p>",                                            nullptr,       false, Encoding::Utf8},
  };
  for (const PrescanCase& c : CASES) {
    const DeclaredCharset got = PrescanCharset(c.bytes);
    EXPECT_EQ(got.found, c.label != nullptr) << c.what;
    if (!c.label || !got.found) continue;
    EXPECT_EQ(got.label, c.label) << c.what;
    EXPECT_EQ(got.known, c.known) << c.what;
    if (c.known) {
      EXPECT_EQ(got.encoding, c.encoding) << c.what;
    }
  }
}

struct GuessCase {
  const char* what;
  std::string bytes;
  bool utf8Reads, shiftJisReads;
  Encoding want;
  bool overruled;
};

TEST(GuessEncoding, TakesTheDeclarationWhenItReadsTheBytesAndSaysWhenItDoesNot) {
  const GuessCase CASES[] = {
      {"byte-order mark",                 "\xEF\xBB\xBF<meta charset=sjis>",   true,  true,  Encoding::Utf8,     false},
      {"declared Shift_JIS, reads",       "<meta charset=sjis>\x95\x5C",       false, true,  Encoding::ShiftJis, false},
      {"declared Shift_JIS, valid both",  "<meta charset=sjis>\xE3\x81\x82",   true,  true,  Encoding::ShiftJis, false},
      {"declared Shift_JIS, only UTF-8",  "<meta charset=sjis>\xE8\xA1\xA8",   true,  false, Encoding::Utf8,     true},
      {"declared Shift_JIS, neither",     "<meta charset=sjis>\xFF",           false, false, Encoding::ShiftJis, false},
      {"declared UTF-8, only Shift_JIS",  "<meta charset=utf-8>\x95\x5C",      false, true,  Encoding::ShiftJis, true},
      {"commented out, valid UTF-8",      "<!--<meta charset=sjis>-->\xE8\xA1\xA8", true, false, Encoding::Utf8, false},
      {"nothing declared, UTF-8 reads",   "\xE3\x81\x82",                      true,  true,  Encoding::Utf8,     false},
      {"nothing declared, only Shift_JIS","\x95\x5C",                          false, true,  Encoding::ShiftJis, false},
      {"EUC-JP declared, judged by bytes","<meta charset=euc-jp>\x95\x5C",     false, true,  Encoding::ShiftJis, false},
  };
  for (const GuessCase& c : CASES) {
    const EncodingGuess guess = GuessEncoding(
        c.bytes, [&](Encoding encoding) { return encoding == Encoding::Utf8 ? c.utf8Reads : c.shiftJisReads; });
    EXPECT_EQ(guess.encoding, c.want) << c.what;
    EXPECT_EQ(guess.declarationOverruled, c.overruled) << c.what;
  }
}

}  // namespace
}  // namespace vxhost
