// One activation's requests to the text the target receives and where its
// caret ends. Texts of this file are code page 932 in the binary, as the
// add-in sends them.
#include "palette/insertion_collector.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "protocol/host_protocol.h"

namespace {

struct Request {
  std::int32_t code;
  const char* text;
};

struct Case {
  const char* name;
  std::vector<Request> requests;
  std::u16string before;
  std::u16string after;
  bool invalid;
};

// "\x85\x40" is not a character of code page 932 (a lead with an unassigned
// trail); "\x81" alone is a lead cut off by the end; 0x80 and 0xFD are no
// characters either, although Windows maps them to private code points.
const std::vector<Case> CASES = {
    {"pair",                     {{vx::InsertLead, "<B>"}, {vx::InsertTrail, "</B>"}},            u"<B>", u"</B>", false},
    {"link pair",                {{vx::InsertLead, "<A HREF=\"\">"}, {vx::InsertLinkTrail, "</A>"}}, u"<A HREF=\"\">", u"</A>", false},
    {"single lead",              {{vx::InsertLead, "<BR>"}},                                        u"<BR>", u"", false},
    {"template, stale buffers",  {{vx::InsertLead, "<TABLE>"}, {vx::InsertLineEnd, "<TABLE>"},
                                  {vx::InsertLineEnd, "stale"}, {vx::InsertLead, "</TABLE>"},
                                  {vx::InsertLineEnd, "</TABLE>"}},                                 u"<TABLE>\r\n\r\n</TABLE>\r\n", u"", false},
    {"definition text as stored", {{vx::InsertDefinitionText, "<a href=\"#top\">ページの先頭へ</a>"}},
                                  u"<a href=\"#top\">ページの先頭へ</a>", u"", false},
    {"empty definition text",    {{vx::InsertDefinitionText, ""}},                                  u"", u"", false},
    {"null text",                {{vx::InsertLead, nullptr}, {vx::InsertTrail, nullptr}},          u"", u"", false},
    {"Japanese pair",            {{vx::InsertLead, "<B>太い"}, {vx::InsertTrail, "文字</B>"}},        u"<B>太い", u"文字</B>", false},
    {"half-width katakana, yen", {{vx::InsertDefinitionText, "\xb1\xdf\\"}},                         u"\uff71\uff9f\\", u"", false},
    {"0x5C as a trail byte",     {{vx::InsertDefinitionText, "表示"}},                               u"表示", u"", false},
    {"unassigned pair",          {{vx::InsertDefinitionText, "a\x85\x40z"}},                        u"a\ufffdz", u"", true},
    {"lead cut off at the end",  {{vx::InsertLead, "<P>"}, {vx::InsertTrail, "</P>\x81"}},          u"<P>", u"</P>\ufffd", true},
    {"single bytes with no character", {{vx::InsertDefinitionText, "\x80\xa0\xfd"}},               u"\ufffd\ufffd\ufffd", u"", true},
    {"unknown code adds nothing", {{vx::InsertLead, "<P>"}, {7, "x"}, {vx::InsertTrail, "</P>"}},   u"<P>", u"</P>", false},
    // Out of the protocol's order: the caret sits before the first trail, and so does what follows.
    {"two trails",               {{vx::InsertLead, "<I>"}, {vx::InsertTrail, "</I>"}, {vx::InsertTrail, "</B>"}},
                                  u"<I>", u"</B></I>", false},
    {"line end after a trail",   {{vx::InsertTrail, "</P>"}, {vx::InsertLineEnd, ""}},              u"", u"\r\n</P>", false},
};

TEST(InsertionCollector, RequestsOfOneActivationBecomeTextAroundTheSelection) {
  for (const Case& c : CASES) {
    vxpalette::InsertionCollector collector;
    for (const Request& request : c.requests) collector.Add(request.code, request.text);
    EXPECT_EQ(collector.Empty(), c.before.empty() && c.after.empty()) << c.name;
    const vxpalette::InsertionText text = collector.Take();
    EXPECT_EQ(text.before, c.before) << c.name;
    EXPECT_EQ(text.after, c.after) << c.name;
    EXPECT_EQ(text.hadInvalidBytes, c.invalid) << c.name;
    // The next activation starts afresh: nothing, not even the invalid mark, carries over.
    EXPECT_TRUE(collector.Empty()) << c.name;
    collector.Add(vx::InsertLead, "<P>");
    const vxpalette::InsertionText next = collector.Take();
    EXPECT_EQ(next.before, u"<P>") << c.name;
    EXPECT_EQ(next.after, u"") << c.name;
    EXPECT_FALSE(next.hadInvalidBytes) << c.name;
  }
}

}  // namespace
