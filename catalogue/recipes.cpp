// The insertion recipe of every tag id and the one operation that runs them.
#include "catalogue/recipes.h"

#include <cstddef>

#include "catalogue/platform_seams.h"
#include "catalogue/catalogue.h"
#include "catalogue/color_choice.h"

namespace vx {
namespace {

enum RecipeKind : std::uint8_t {
  Group,              // no recipe: activating a group sends nothing
  Pair,               // first with InsertLead, second with InsertTrail
  Link,               // first with InsertLead, "</A>" with InsertLinkTrail
  Single,             // first with InsertLead
  Template,           // lines of a skeleton, see TEMPLATES
  ColorRequired,      // first + colour + second; a cancel sends nothing
  ColorOptional,      // the same, with an empty colour after a cancel
  ColorOptionalPair,  // ColorOptional, then "\">" with InsertTrail
};

struct Recipe {
  std::int32_t tagId;
  RecipeKind kind;
  const char* first;
  const char* second;
};

// One row per tag id, in tag id order (checked below).
static constexpr Recipe RECIPES[TAG_COUNT] = {
    {  0, Template,          nullptr, nullptr},
    {  1, Pair,              "<TITLE>", "</TITLE>"},
    {  2, Pair,              "<BASE HREF=\"", "\">"},
    {  3, Pair,              "<ADDRESS>", "</ADDRESS>"},
    {  4, Pair,              "<!-- ", " -->"},
    {  5, Group,             nullptr, nullptr},
    {  6, Group,             nullptr, nullptr},
    {  7, Group,             nullptr, nullptr},
    {  8, Group,             nullptr, nullptr},
    {  9, Group,             nullptr, nullptr},
    { 10, Group,             nullptr, nullptr},
    { 11, Group,             nullptr, nullptr},
    { 12, Pair,              "&", ";"},
    { 13, Pair,              "<FONT SIZE=\"", "\"></FONT>"},
    { 14, Pair,              "<BASEFONT SIZE=\"", "\">"},
    { 15, Group,             nullptr, nullptr},
    { 16, ColorRequired,     "<FONT COLOR=\"#", "\"></FONT>"},
    { 17, Single,            "<BR>", nullptr},
    { 18, Single,            "<WBR>", nullptr},
    { 19, Pair,              "<P>", "</P>"},
    { 20, Pair,              "<BLOCKQUOTE>", "</BLOCKQUOTE>"},
    { 21, Pair,              "<PRE>", "</PRE>"},
    { 22, Single,            "<HR>", nullptr},
    { 23, Group,             nullptr, nullptr},
    { 24, Pair,              "<NOBR>", "</NOBR>"},
    { 25, Pair,              "<CENTER>", "</CENTER>"},
    { 26, Pair,              "<BLINK>", "</BLINK>"},
    { 27, Pair,              "<UL>", "</UL>"},
    { 28, Group,             nullptr, nullptr},
    { 29, Pair,              "<OL>", "</OL>"},
    { 30, Group,             nullptr, nullptr},
    { 31, Group,             nullptr, nullptr},
    { 32, Pair,              "<DL>", "</DL>"},
    { 33, Pair,              "<DL COMPACT>", "</DL>"},
    { 34, Pair,              "<IMG SRC=\"", "\">"},
    { 35, Group,             nullptr, nullptr},
    { 36, Group,             nullptr, nullptr},
    { 37, Group,             nullptr, nullptr},
    { 38, Pair,              "<IMG SRC=\"", "\" WIDTH=\"\" HEIGHT=\"\">"},
    { 39, Single,            "<BR CLEAR=\"all\">", nullptr},
    { 40, Pair,              "<IMG SRC=\"", "\" LOWSRC=\"\">"},
    { 41, Pair,              "<IMG SRC=\"", "\" BORDER=\"\">"},
    { 42, Link,              "<A HREF=\"\">", nullptr},
    { 43, Link,              "<A HREF=\"mailto:\">", nullptr},
    { 44, Link,              "<A HREF=\"view-source:\">", nullptr},
    { 45, Group,             nullptr, nullptr},
    { 46, Group,             nullptr, nullptr},
    { 47, Pair,              "<TABLE BORDER=\"", "\"></TABLE>"},
    { 48, Pair,              "<TABLE WIDTH=\"", "\" HEIGHT=\"\"></TABLE>"},
    { 49, Group,             nullptr, nullptr},
    { 50, Group,             nullptr, nullptr},
    { 51, Group,             nullptr, nullptr},
    { 52, Group,             nullptr, nullptr},
    { 53, Group,             nullptr, nullptr},
    { 54, Template,          nullptr, nullptr},
    { 55, Group,             nullptr, nullptr},
    { 56, Group,             nullptr, nullptr},
    { 57, Pair,              "<A HREF=\"", "\" TARGET=\"\">"},
    { 58, Pair,              "<NOFRAME>", "</NOFRAME>"},
    { 59, Group,             nullptr, nullptr},
    { 60, Group,             nullptr, nullptr},
    { 61, Pair,              "<FONT FACE=\"", "\"></FONT>"},
    { 62, Pair,              "<MULTICOL COLS=\"", "\" WIDTH=\"\" GUTTER=\"\">"},
    { 63, Group,             nullptr, nullptr},
    { 64, Pair,              "<FRAMESET BORDER=\"", "\">"},
    { 65, Group,             nullptr, nullptr},
    { 66, Pair,              "<BGSOUND SRC=\"", "\" LOOP=\"\">"},
    { 67, Pair,              "<BODY BACKGROUND=\"", "\" BGPROPERTIES=\"\">"},
    { 68, Group,             nullptr, nullptr},
    { 69, Pair,              "<IFRAME WIDTH=\"", "\" HEIGHT=\"\" NAME=\"\" ALIGN=\"\" SRC=\"\"></IFRAME>"},
    { 70, Pair,              "<IMG DYNSRC=\"", "\" SRC=\"\">"},
    { 71, Pair,              "<EMBED SRC=\"", "\" WIDTH=\"\" HEIGHT=\"\" BORDER=\"\" VSPACE=\"\" HSPACE=\"\" ALIGN=\"\">"},
    { 72, Pair,              "<EMBED SRC=\"", "\" WIDTH=\"\" HEIGHT=\"\" PANEL=\"\" AUTOSTART=\"\" REPEAT=\"\">"},
    { 73, Pair,              "<EMBED SRC=\"", "\" HEIGHT=\"\" WIDTH=\"\" CONTROLLER=\"\" LOOP=\"\" AUTOPLAY=\"\">"},
    { 74, ColorRequired,     "<BODY TEXT=\"#", "\">"},
    { 75, ColorRequired,     "<BODY LINK=\"#", "\">"},
    { 76, ColorRequired,     "<BODY VLINK=\"#", "\">"},
    { 77, ColorRequired,     "<BODY ALINK=\"#", "\">"},
    { 78, ColorRequired,     "<BODY BGCOLOR=\"#", "\">"},
    { 79, Pair,              "<BODY BACKGROUND=\"", "\">"},
    { 80, Pair,              "<META HTTP-EQUIV=\"", "\" CONTENT=\"\">"},
    { 81, Pair,              "<META HTTP-EQUIV=\"", "\" CONTENT=\";URL=\">"},
    { 82, Pair,              "<H1>", "</H1>"},
    { 83, Pair,              "<H2>", "</H2>"},
    { 84, Pair,              "<H3>", "</H3>"},
    { 85, Pair,              "<H4>", "</H4>"},
    { 86, Pair,              "<H5>", "</H5>"},
    { 87, Pair,              "<H6>", "</H6>"},
    { 88, Pair,              "<H1", " ALIGN=\"center\">"},
    { 89, Pair,              "<H1", " ALIGN=\"right\">"},
    { 90, Pair,              "<H1", " ALIGN=\"left\">"},
    { 91, Pair,              "<BIG>", "</BIG>"},
    { 92, Pair,              "<SMALL>", "</SMALL>"},
    { 93, Pair,              "<B>", "</B>"},
    { 94, Pair,              "<I>", "</I>"},
    { 95, Pair,              "<TT>", "</TT>"},
    { 96, Pair,              "<SUP>", "</SUP>"},
    { 97, Pair,              "<SUB>", "</SUB>"},
    { 98, Pair,              "<U>", "</U>"},
    { 99, Pair,              "<S>", "</S>"},
    {100, Pair,              "<CITE>", "</CITE>"},
    {101, Pair,              "<CODE>", "</CODE>"},
    {102, Pair,              "<DFN>", "</DFN>"},
    {103, Pair,              "<EM>", "</EM>"},
    {104, Pair,              "<KBD>", "</KBD>"},
    {105, Pair,              "<SAMP>", "</SAMP>"},
    {106, Pair,              "<STRONG>", "</STRONG>"},
    {107, Pair,              "<VAR>", "</VAR>"},
    {108, Pair,              "<DIV ALIGN=\"left\">", "</DIV>"},
    {109, Pair,              "<DIV ALIGN=\"center\">", "</DIV>"},
    {110, Pair,              "<DIV ALIGN=\"right\">", "</DIV>"},
    {111, Single,            "<HR>", nullptr},
    {112, Pair,              "<HR SIZE=\"", "\">"},
    {113, Pair,              "<HR WIDTH=\"", "\">"},
    {114, Pair,              "<HR ALIGN=\"right\"", "\">"},
    {115, Pair,              "<HR ALIGN=\"center\"", "\">"},
    {116, Pair,              "<HR ALIGN=\"left\"", "\">"},
    {117, Single,            "<HR NOSHADE>", nullptr},
    {118, Single,            "<LI TYPE=\"disc\">", nullptr},
    {119, Single,            "<LI TYPE=\"circle\">", nullptr},
    {120, Single,            "<LI TYPE=\"square\">", nullptr},
    {121, Single,            "<LI TYPE=\"A\">", nullptr},
    {122, Single,            "<LI TYPE=\"a\">", nullptr},
    {123, Single,            "<LI TYPE=\"I\">", nullptr},
    {124, Single,            "<LI TYPE=\"i\">", nullptr},
    {125, Single,            "<LI TYPE=\"1\">", nullptr},
    {126, Pair,              "<OL START=\"", "\">"},
    {127, Pair,              "<LI VALUE=\"", "\">"},
    {128, Pair,              "<IMG SRC=\"", "\" ALIGN=\"top\">"},
    {129, Pair,              "<IMG SRC=\"", "\" ALIGN=\"middle\">"},
    {130, Pair,              "<IMG SRC=\"", "\" ALIGN=\"bottom\">"},
    {131, Pair,              "<IMG SRC=\"", "\" ALIGN=\"right\">"},
    {132, Pair,              "<IMG SRC=\"", "\" ALIGN=\"left\">"},
    {133, Pair,              "<IMG SRC=\"", "\" ALIGN=\"right\" VSPACE=\"\" HSPACE=\"\">"},
    {134, Pair,              "<IMG SRC=\"", "\" ALIGN=\"left\" VSPACE=\"\" HSPACE=\"\">"},
    {135, Link,              "<A NAME=\"\">", nullptr},
    {136, Link,              "<A HREF=\"#\">", nullptr},
    {137, Pair,              "<TABLE>", "</TABLE>"},
    {138, Pair,              "<TABLE BORDER>", "</TABLE>"},
    {139, Pair,              "<TABLE CELLSPACING=\"", "\"></TABLE>"},
    {140, Pair,              "<TABLE CELLPADDING=\"", "\"></TABLE>"},
    {141, Pair,              "<TH ROWSPAN=\"", "\" COLSPAN=\"\">"},
    {142, Pair,              "<TD ROWSPAN=\"", "\" COLSPAN=\"\">"},
    {143, Pair,              "<TR ALIGN=\"", "\" VALIGN=\"\">"},
    {144, Pair,              "<TH ALIGN=\"", "\" VALIGN=\"\">"},
    {145, Pair,              "<TD ALIGN=\"", "\" VALIGN=\"\">"},
    {146, Single,            "<TH NOWRAP>", nullptr},
    {147, Single,            "<TD NOWRAP>", nullptr},
    {148, Pair,              "<CAPTION>", "</CAPTION>"},
    {149, Single,            "<CAPTION ALIGN=\"bottom\"></CAPTION>", nullptr},
    {150, Pair,              "<FRAMESET COLS=\"", "\">"},
    {151, Pair,              "<FRAMESET ROWS=\"", "\">"},
    {152, Pair,              "<FRAME SRC=\"", "\">"},
    {153, Pair,              "<FRAME NAME=\"", "\">"},
    {154, Pair,              "<FRAME MARGINWIDTH=\"", "\">"},
    {155, Pair,              "<FRAME MARGINHEIGHT=\"", "\">"},
    {156, Pair,              "<FRAME SCROLLING=\"", "\">"},
    {157, Single,            "<FRAME NORESIZE>", nullptr},
    {158, ColorOptional,     "<TABLE BGCOLOR=\"#", "\">"},
    {159, ColorOptional,     "<TH BGCOLOR=\"#", "\">"},
    {160, ColorOptionalPair, "<TD BGCOLOR=\"#", "\" SIZE=\""},
    {161, Pair,              "<SPACER TYPE=\"vertical\" SIZE=\"", "\">"},
    {162, Pair,              "<SPACER TYPE=\"horizontal\" SIZE=\"", "\">"},
    {163, Pair,              "<SPACER TYPE=\"block\" WIDTH=\"", "\" HEIGHT=\"\" ALIGN=\"\">"},
    // FRAMEBOEDER and BOEDERCOLOR (164..167) are kept as the add-in has always
    // sent them: documents written with them, and users who look for them, rely
    // on these exact bytes. Do not correct them here or in the labels.
    {164, Pair,              "<FRAMESET FRAMEBOEDER=\"", "\">"},
    {165, Pair,              "<FRAME FRAMEBOEDER=\"", "\">"},
    {166, ColorOptional,     "<FRAMESET BOEDERCOLOR=\"#", "\">"},
    {167, ColorOptional,     "<FRAME BOEDERCOLOR=\"#", "\">"},
    {168, Pair,              "<MARQUEE BEHAVIOR=\"", "\"></MARQUEE>"},
    {169, Pair,              "<MARQUEE DIRECTION=\"", "\"></MARQUEE>"},
    {170, Pair,              "<MARQUEE SCROLLAMOUNT=\"", "\"></MARQUEE>"},
    {171, Pair,              "<MARQUEE SCROLLDELAY=\"", "\"></MARQUEE>"},
    {172, Pair,              "<MARQUEE LOOP=\"", "\"></MARQUEE>"},
    {173, Pair,              "<MARQUEE WIDTH=\"", "\" HEIGHT=\"\"></MARQUEE>"},
    {174, Pair,              "<MARQUEE HSPACE=\"", "\" VSPACE=\"\"></MARQUEE>"},
    {175, Pair,              "<MARQUEE ALIGN=\"", "\"></MARQUEE>"},
    {176, Pair,              "<MARQUEE BGCOLOR=\"", "\"></MARQUEE>"},
};

constexpr bool RowsAreInTagIdOrder() {
  for (std::int32_t id = 0; id < TAG_COUNT; ++id) {
    if (RECIPES[id].tagId != id) return false;
  }
  return true;
}
static_assert(RowsAreInTagIdOrder(), "RECIPES must hold tag id n at row n");

struct TemplateLine {
  const char* text;
  bool blankLineAfter;  // a second InsertLineEnd leaves an empty line
};

static constexpr TemplateLine DOCUMENT_SKELETON[] = {
    {"<HTML>", false},
    {"  <HEAD>", false},
    {"  <TITLE></TITLE>", true},
    {"  </HEAD>", false},
    {"  <BODY>", true},
    {"  </BODY>", false},
    {"</HTML>", false},
};

static constexpr TemplateLine FRAME_SKELETON[] = {
    {"<HTML>", false},
    {"  <HEAD></HEAD>", false},
    {"  <FRAMESET option=\"\">", false},
    {"    <FRAME>", false},
    {"    <FRAME>", false},
    {"  </FRAMESET>", false},
    {"</HTML>", false},
};

struct TemplateRecipe {
  std::int32_t tagId;
  const TemplateLine* lines;
  std::size_t lineCount;
};

static constexpr TemplateRecipe TEMPLATES[] = {
    {0, DOCUMENT_SKELETON, sizeof DOCUMENT_SKELETON / sizeof DOCUMENT_SKELETON[0]},
    {54, FRAME_SKELETON, sizeof FRAME_SKELETON / sizeof FRAME_SKELETON[0]},
};

constexpr const char LINK_TRAIL[] = "</A>";
constexpr const char COLOR_PAIR_TRAIL[] = "\">";

// Appends text at buffer[length], never past the buffer; returns the new length.
std::size_t AppendBounded(char* buffer, std::size_t length, const char* text) {
  while (*text != '\0' && length + 1 < RECIPE_BUFFER_SIZE) buffer[length++] = *text++;
  buffer[length] = '\0';
  return length;
}

// Every built-in request carries the address of the one recipe buffer; the
// host reads it during the call, so reusing it for the next text is safe.
void SendThroughBuffer(char* buffer, InsertCode code, const char* text) {
  AppendBounded(buffer, 0, text);
  SendInsertRequest(code, buffer);
}

void RunTemplate(std::int32_t tagId, char* buffer) {
  for (const TemplateRecipe& recipe : TEMPLATES) {
    if (recipe.tagId != tagId) continue;
    for (std::size_t i = 0; i < recipe.lineCount; ++i) {
      const TemplateLine& line = recipe.lines[i];
      SendThroughBuffer(buffer, InsertLead, line.text);
      // The line end carries no text of its own: the buffer still holds the line.
      SendInsertRequest(InsertLineEnd, buffer);
      if (line.blankLineAfter) SendInsertRequest(InsertLineEnd, buffer);
    }
  }
}

RecipeOutcome RunColorRecipe(const Recipe& recipe, char* buffer) {
  const ColorChoice choice = ChooseHtmlColor();
  switch (choice.outcome) {
    case ColorOutcome::Abandoned:
      return RecipeOutcome::Abandoned;
    case ColorOutcome::Cancelled:
      // The optional kinds go on with the empty colour text.
      if (recipe.kind == ColorRequired) return RecipeOutcome::Done;
      break;
    case ColorOutcome::Accepted:
      break;
  }
  std::size_t length = AppendBounded(buffer, 0, recipe.first);
  length = AppendBounded(buffer, length, choice.text);
  AppendBounded(buffer, length, recipe.second);
  SendInsertRequest(InsertLead, buffer);
  if (recipe.kind == ColorOptionalPair) SendThroughBuffer(buffer, InsertTrail, COLOR_PAIR_TRAIL);
  return RecipeOutcome::Done;
}

}  // namespace

RecipeOutcome RunInsertionRecipe(std::int32_t tagId, const char* userText) {
  if (userText != nullptr) {
    SendInsertRequest(InsertDefinitionText, userText);
    return RecipeOutcome::Done;
  }
  // Unsigned, so negative ids fall out with the ones past the catalogue.
  if (static_cast<std::uint32_t>(tagId) >= static_cast<std::uint32_t>(TAG_COUNT)) {
    return RecipeOutcome::Done;
  }

  char buffer[RECIPE_BUFFER_SIZE];
  buffer[0] = '\0';
  const Recipe& recipe = RECIPES[tagId];
  switch (recipe.kind) {
    case Group:
      break;
    case Pair:
      SendThroughBuffer(buffer, InsertLead, recipe.first);
      SendThroughBuffer(buffer, InsertTrail, recipe.second);
      break;
    case Link:
      SendThroughBuffer(buffer, InsertLead, recipe.first);
      SendThroughBuffer(buffer, InsertLinkTrail, LINK_TRAIL);
      break;
    case Single:
      SendThroughBuffer(buffer, InsertLead, recipe.first);
      break;
    case Template:
      RunTemplate(tagId, buffer);
      break;
    case ColorRequired:
    case ColorOptional:
    case ColorOptionalPair:
      return RunColorRecipe(recipe, buffer);
  }
  return RecipeOutcome::Done;
}

void DescribeRecipe(std::int32_t tagId, char (&text)[RECIPE_BUFFER_SIZE]) {
  text[0] = '\0';
  if (static_cast<std::uint32_t>(tagId) >= static_cast<std::uint32_t>(TAG_COUNT)) return;
  const Recipe& recipe = RECIPES[tagId];
  std::size_t length = 0;
  for (const TemplateRecipe& skeleton : TEMPLATES) {
    if (recipe.kind != Template || skeleton.tagId != tagId) continue;
    for (std::size_t i = 0; i < skeleton.lineCount; ++i) {
      length = AppendBounded(text, length, skeleton.lines[i].text);
      length = AppendBounded(text, length, skeleton.lines[i].blankLineAfter ? "\n\n" : "\n");
    }
  }
  if (recipe.first) length = AppendBounded(text, length, recipe.first);
  if (recipe.kind == Link) length = AppendBounded(text, length, LINK_TRAIL);
  if (recipe.second) length = AppendBounded(text, length, recipe.second);
  if (recipe.kind == ColorOptionalPair) AppendBounded(text, length, COLOR_PAIR_TRAIL);
}

}  // namespace vx
