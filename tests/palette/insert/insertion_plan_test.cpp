// How a text is counted, typed and routed before anything reaches another
// program: positions as Edit and RichEdit controls count them, the
// keystrokes that type a text and step back over its trail, and which
// method a control and a length get.
#include <gtest/gtest.h>

#include "palette/insert/key_plan.h"
#include "palette/insert/method_choice.h"
#include "palette/insert/text_positions.h"

namespace vxpalette {
namespace {

using Kind = KeyStroke::Kind;
constexpr auto PER_UNIT = PositionCount::PerUnit;
constexpr auto PARAGRAPH = PositionCount::ParagraphEndIsOne;

struct PositionCase {
  const char16_t* text;
  PositionCount count;
  std::size_t positions;
  std::size_t position;   // a control position ...
  std::size_t unitIndex;  // ... and where it falls in the text
};

// U+20BB7 (a surrogate pair) is two positions in both controls.
constexpr PositionCase POSITION_CASES[] = {
    {u"hello world",             PER_UNIT,  11, 6,  6},
    {u"ab\r\ncd",                PER_UNIT,  6,  4,  4},
    {u"ab\r\ncd",                PARAGRAPH, 5,  3,  4},
    {u"ab\r\ncd",                PARAGRAPH, 5,  99, 6},
    {u"\r\n\r\n",                PARAGRAPH, 2,  1,  2},
    {u"a\rb\nc",                 PARAGRAPH, 5,  4,  4},
    {u"\U00020BB7x",             PARAGRAPH, 3,  2,  2},
    {u"\U00020BB7x",             PER_UNIT,  3,  2,  2},
    {u"",                        PARAGRAPH, 0,  3,  0},
    {u"x\r",                     PARAGRAPH, 2,  2,  2},
};

TEST(InsertionPlan, PositionsAsTheControlCountsThem) {
  for (const PositionCase& c : POSITION_CASES) {
    std::u16string text = c.text;
    SCOPED_TRACE(testing::Message() << "case " << (&c - POSITION_CASES));
    EXPECT_EQ(PositionsIn(text, c.count), c.positions);
    EXPECT_EQ(UnitIndexAt(text, c.position, c.count), c.unitIndex);
  }
}

struct StrokeCase {
  const char16_t* text;
  std::vector<KeyStroke> strokes;
};

TEST(InsertionPlan, TypingStrokes) {
  const StrokeCase cases[] = {
      {u"<B>",          {{Kind::Character, u'<'}, {Kind::Character, u'B'}, {Kind::Character, u'>'}}},
      {u"a\r\nb",       {{Kind::Character, u'a'}, {Kind::Enter}, {Kind::Character, u'b'}}},
      {u"\r\r\n\n",     {{Kind::Enter}, {Kind::Enter}, {Kind::Enter}}},
      {u"\n\r",         {{Kind::Enter}, {Kind::Enter}}},
      {u"\U00020BB7",   {{Kind::Character, 0xD842}, {Kind::Character, 0xDFB7}}},
      {u"ペ\t",         {{Kind::Character, u'ペ'}, {Kind::Character, u'\t'}}},
      {u"",             {}},
  };
  for (const StrokeCase& c : cases) {
    SCOPED_TRACE(testing::Message() << "case " << (&c - cases));
    EXPECT_EQ(TypingStrokes(c.text), c.strokes);
  }
}

struct LeftCase {
  const char16_t* after;
  std::size_t presses;
};

constexpr LeftCase LEFT_CASES[] = {
    {u"</B>",              4},
    {u"\r\n</P>",          5},
    {u"\r\n\r\n",          2},
    {u"\n\r",              2},  // LF then CR: two line ends
    {u"\U00020BB7</B>",    5},
    {u"\xD842x",           2},  // a lone high surrogate is a character of its own
    {u"",                  0},
};

TEST(InsertionPlan, LeftPressesOverTheTrail) {
  for (const LeftCase& c : LEFT_CASES) {
    SCOPED_TRACE(testing::Message() << "case " << (&c - LEFT_CASES));
    EXPECT_EQ(LeftPressesOver(c.after), c.presses);
  }
}

struct ClassCase {
  const char16_t* className;
  ControlKind kind;
};

constexpr ClassCase CLASS_CASES[] = {
    {u"Edit",                                ControlKind::Edit},
    {u"EDIT",                                ControlKind::Edit},
    {u"RICHEDIT",                            ControlKind::Edit},
    {u"RichEdit20W",                         ControlKind::RichEdit},
    {u"RichEdit20A",                         ControlKind::RichEdit},
    {u"RICHEDIT50W",                         ControlKind::RichEdit},
    {u"RichEditD2DPT",                       ControlKind::RichEdit},
    {u"WindowsForms10.EDIT.app.0.2bf8098_r6_ad1",        ControlKind::Edit},
    {u"WindowsForms10.RichEdit20W.app.0.2bf8098_r6_ad1", ControlKind::RichEdit},
    {u"WindowsForms10.Window.8.app.0.2bf8098_r6_ad1",    ControlKind::Other},
    {u"Edit2",                               ControlKind::Other},
    {u"TMemo",                               ControlKind::Other},
    {u"Scintilla",                           ControlKind::Other},
    {u"",                                    ControlKind::Other},
};

TEST(InsertionPlan, ControlKindFromClassName) {
  for (const ClassCase& c : CLASS_CASES) {
    SCOPED_TRACE(testing::Message() << "case " << (&c - CLASS_CASES));
    EXPECT_EQ(KindOfClass(c.className), c.kind);
  }
}

struct MethodCase {
  InsertMethod requested;
  ControlKind kind;
  std::size_t units;
  InsertMethod chosen;
};

constexpr std::size_t LONG = LONGEST_TYPED_TEXT + 1;
constexpr MethodCase METHOD_CASES[] = {
    {InsertMethod::Auto,      ControlKind::Edit,     LONG,               InsertMethod::Message},
    {InsertMethod::Auto,      ControlKind::RichEdit, 3,                  InsertMethod::Message},
    {InsertMethod::Auto,      ControlKind::Other,    LONGEST_TYPED_TEXT, InsertMethod::Keys},
    {InsertMethod::Auto,      ControlKind::Other,    LONG,               InsertMethod::Clipboard},
    {InsertMethod::Message,   ControlKind::Edit,     3,                  InsertMethod::Message},
    {InsertMethod::Message,   ControlKind::Other,    3,                  InsertMethod::Keys},
    {InsertMethod::Message,   ControlKind::Other,    LONG,               InsertMethod::Clipboard},
    {InsertMethod::Keys,      ControlKind::Edit,     LONG,               InsertMethod::Keys},
    {InsertMethod::Clipboard, ControlKind::RichEdit, 3,                  InsertMethod::Clipboard},
};

TEST(InsertionPlan, MethodChoice) {
  for (const MethodCase& c : METHOD_CASES) {
    SCOPED_TRACE(testing::Message() << "case " << (&c - METHOD_CASES));
    EXPECT_EQ(ChooseMethod(c.requested, c.kind, c.units), c.chosen);
  }
}

}  // namespace
}  // namespace vxpalette
