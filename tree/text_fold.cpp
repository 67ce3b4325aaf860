#include "tree/text_fold.h"

#include "deffile/cp932_codec.h"

namespace vx {
namespace {

constexpr char16_t HALF_WIDTH_FIRST = 0xFF61;
constexpr char16_t HALF_WIDTH_LAST = 0xFF9F;

// U+FF61..U+FF9F in order, as their full-width forms.
static constexpr char16_t HALF_WIDTH_KANA[HALF_WIDTH_LAST - HALF_WIDTH_FIRST + 1] = {
    /* FF61 */ 0x3002, 0x300C, 0x300D, 0x3001, 0x30FB, 0x30F2, 0x30A1,
    /* FF68 */ 0x30A3, 0x30A5, 0x30A7, 0x30A9, 0x30E3, 0x30E5, 0x30E7, 0x30C3,
    /* FF70 */ 0x30FC, 0x30A2, 0x30A4, 0x30A6, 0x30A8, 0x30AA, 0x30AB, 0x30AD,
    /* FF78 */ 0x30AF, 0x30B1, 0x30B3, 0x30B5, 0x30B7, 0x30B9, 0x30BB, 0x30BD,
    /* FF80 */ 0x30BF, 0x30C1, 0x30C4, 0x30C6, 0x30C8, 0x30CA, 0x30CB, 0x30CC,
    /* FF88 */ 0x30CD, 0x30CE, 0x30CF, 0x30D2, 0x30D5, 0x30D8, 0x30DB, 0x30DE,
    /* FF90 */ 0x30DF, 0x30E0, 0x30E1, 0x30E2, 0x30E4, 0x30E6, 0x30E8, 0x30E9,
    /* FF98 */ 0x30EA, 0x30EB, 0x30EC, 0x30ED, 0x30EF, 0x30F3, 0x309B, 0x309C,
};

constexpr bool IsVoicedMark(char16_t c) { return c == 0xFF9E || c == 0x309B || c == 0x3099; }
constexpr bool IsSemiVoicedMark(char16_t c) { return c == 0xFF9F || c == 0x309C || c == 0x309A; }

// The voiced form of hiragana h, or 0 when it has none.
constexpr char16_t Voiced(char16_t h) {
  if (h == 0x3046) return 0x3094;                                      // う
  if (h >= 0x304B && h <= 0x3061 && (h - 0x304B) % 2 == 0) return h + 1;  // か..ち
  if (h == 0x3064 || h == 0x3066 || h == 0x3068) return h + 1;          // つ て と
  if (h >= 0x306F && h <= 0x307B && (h - 0x306F) % 3 == 0) return h + 1;  // は..ほ
  if (h == 0x309D) return 0x309E;                                      // ゝ
  return 0;
}

// The semi-voiced form of hiragana h, or 0.
constexpr char16_t SemiVoiced(char16_t h) {
  return h >= 0x306F && h <= 0x307B && (h - 0x306F) % 3 == 0 ? h + 2 : 0;
}

constexpr char16_t FoldOne(char16_t c) {
  if (c < 0x20 || c == 0x3000) return u' ';
  if (c >= 0xFF01 && c <= 0xFF5E) c = static_cast<char16_t>(c - 0xFEE0);
  if (c >= u'A' && c <= u'Z') return static_cast<char16_t>(c + 0x20);
  if (c >= HALF_WIDTH_FIRST && c <= HALF_WIDTH_LAST) c = HALF_WIDTH_KANA[c - HALF_WIDTH_FIRST];
  if ((c >= 0x30A1 && c <= 0x30F6) || c == 0x30FD || c == 0x30FE) return static_cast<char16_t>(c - 0x60);
  return c;
}

static_assert(FoldOne(u'Ｔ') == u't' && FoldOne(u'ﾀ') == u'た' && FoldOne(u'ヶ') == u'ゖ');
static_assert(Voiced(u'か') == u'が' && Voiced(u'ほ') == u'ぼ' && SemiVoiced(u'ふ') == u'ぷ');

}  // namespace

std::size_t DecodeCp932Text(const char* text, char16_t* out, std::size_t capacity) {
  const auto* bytes = reinterpret_cast<const unsigned char*>(text);
  std::size_t available = 0;
  while (bytes[available] != 0) ++available;
  std::size_t length = 0;
  std::size_t at = 0;
  while (at < available && length + 1 < capacity) {
    const Cp932Char decoded = DecodeCp932(bytes + at, available - at);
    if (decoded.length == 0) {
      out[length++] = REPLACEMENT_CHARACTER;
      at += Cp932InvalidLength(bytes + at, available - at);
    } else {
      out[length++] = static_cast<char16_t>(decoded.character);
      at += decoded.length;
    }
  }
  out[length] = 0;
  return length;
}

std::size_t FoldText(const char16_t* text, std::size_t length, char16_t* out) {
  std::size_t folded = 0;
  for (std::size_t i = 0; i < length; ++i) {
    char16_t c = FoldOne(text[i]);
    if (i + 1 < length) {
      const char16_t joined = IsVoicedMark(text[i + 1])       ? Voiced(c)
                              : IsSemiVoicedMark(text[i + 1]) ? SemiVoiced(c)
                                                              : 0;
      if (joined != 0) {
        c = joined;
        ++i;
      }
    }
    out[folded++] = c;
  }
  return folded;
}

}  // namespace vx
