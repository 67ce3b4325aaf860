#include "palette/insertion_collector.h"

#include <cstring>
#include <utility>

#include "deffile/cp932_codec.h"
#include "protocol/host_protocol.h"

namespace vxpalette {
namespace {

constexpr char16_t REPLACEMENT_CHARACTER = 0xFFFD;
constexpr char16_t LINE_END[] = u"\r\n";

void AppendCharacter(std::u16string& out, char32_t c) {
  if (c < 0x10000) {
    out.push_back(static_cast<char16_t>(c));
  } else {
    c -= 0x10000;
    out.push_back(static_cast<char16_t>(0xD800 + (c >> 10)));
    out.push_back(static_cast<char16_t>(0xDC00 + (c & 0x3FF)));
  }
}

}  // namespace

std::u16string FromCp932(const char* bytes, bool& invalid) {
  std::u16string out;
  if (!bytes) return out;
  const auto* at = reinterpret_cast<const unsigned char*>(bytes);
  std::size_t left = std::strlen(bytes);
  while (left > 0) {
    const vx::Cp932Char c = vx::DecodeCp932(at, left);
    std::size_t taken = c.length;
    if (taken == 0) {
      invalid = true;
      out.push_back(REPLACEMENT_CHARACTER);
      taken = vx::Cp932InvalidLength(at, left);
    } else {
      AppendCharacter(out, c.character);
    }
    at += taken;
    left -= taken;
  }
  return out;
}

void InsertionCollector::Add(std::int32_t code, const char* text) {
  switch (code) {
    case vx::InsertLead:
    case vx::InsertDefinitionText:
      Append(text);
      break;
    case vx::InsertLineEnd:
      // The text of a line end is the sender's previous line, not new text.
      if (trailSeen_) {
        text_.after.insert(0, LINE_END);
      } else {
        text_.before += LINE_END;
      }
      break;
    case vx::InsertTrail:
    case vx::InsertLinkTrail:
      trailSeen_ = true;
      Append(text);
      break;
    default:
      break;
  }
}

void InsertionCollector::Append(const char* text) {
  bool invalid = false;
  const std::u16string characters = FromCp932(text, invalid);
  text_.hadInvalidBytes = text_.hadInvalidBytes || invalid;
  if (trailSeen_) {
    text_.after.insert(0, characters);
  } else {
    text_.before += characters;
  }
}

bool InsertionCollector::Empty() const { return text_.before.empty() && text_.after.empty(); }

InsertionText InsertionCollector::Take() {
  InsertionText taken = std::move(text_);
  text_ = InsertionText();
  trailSeen_ = false;
  return taken;
}

}  // namespace vxpalette
