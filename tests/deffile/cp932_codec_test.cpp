// The code page 932 codec: the strict character mapping, and its table held
// to the C library's converter code for code.
#include <iconv.h>

#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "deffile/cp932_codec.h"

namespace {

std::string Encoded(char32_t c) {
  unsigned char bytes[2];
  return std::string(reinterpret_cast<char*>(bytes), vx::EncodeCp932(c, bytes));
}

TEST(Cp932Codec, LookAlikesAreRefusedAndTheCodesWindowsWritesAreKept) {
  // glibc alone would write these as 5C, 7E, 8160, 815C, 8161, 817C, 8191, 8192, 81CA.
  for (char32_t c : {0x00A5, 0x203E, 0x301C, 0x2014, 0x2016, 0x2212, 0x00A2, 0x00A3, 0x00AC, 0x00A6, 0x00A0, 0x0080,
                     0xF8F0, 0xF8F3, 0x1F600})
    EXPECT_EQ(Encoded(c), "") << std::hex << static_cast<unsigned>(c);
  const std::vector<std::pair<char32_t, std::string>> kept = {
      {'\\', "\\"},           {'~', "~"},             {0xFF5E, "\x81\x60"},  {0x2015, "\x81\x5C"},
      {0x2225, "\x81\x61"},   {0xFF0D, "\x81\x7C"},   {0xFFE0, "\x81\x91"},  {0xFFE2, "\x81\xCA"},
      {0xFFE5, "\x81\x8F"},   {0xFF71, "\xB1"},       {0x8868, "\x95\x5C"},  {0xE000, "\xF0\x40"},
      // Characters with two or three codes get the one Windows writes.
      {0x2252, "\x81\xE0"},   {0x2160, "\x87\x54"},   {0x2170, "\xFA\x40"},  {0x7E8A, "\xFA\x5C"},
      {0x2235, "\x81\xE6"},   {0x3231, "\x87\x8A"},
  };
  for (const auto& [c, bytes] : kept) EXPECT_EQ(Encoded(c), bytes) << std::hex << static_cast<unsigned>(c);
  for (unsigned char b : {0x80, 0xA0, 0xFD, 0xFE, 0xFF})
    EXPECT_EQ(vx::DecodeCp932(&b, 1).length, 0u) << static_cast<int>(b);
}

// glibc's converter on one character's bytes; "" when it refuses them.
std::string Iconv(iconv_t converter, const std::string& in) {
  char out[16];
  char* input = const_cast<char*>(in.data());
  char* output = out;
  std::size_t inLeft = in.size();
  std::size_t outLeft = sizeof out;
  iconv(converter, nullptr, nullptr, nullptr, nullptr);
  if (iconv(converter, &input, &inLeft, &output, &outLeft) == static_cast<std::size_t>(-1) || inLeft != 0) return "";
  return std::string(out, sizeof out - outLeft);
}

std::string Utf32(char32_t c) {
  const char bytes[4] = {static_cast<char>(c), static_cast<char>(c >> 8), static_cast<char>(c >> 16), 0};
  return std::string(bytes, 4);
}

constexpr char REGENERATE[] =
    "deffile/cp932_table.cpp differs from this C library's converter; if the converter is right, "
    "regenerate the table with: tools/make-cp932-table.py > deffile/cp932_table.cpp";

// The table is glibc's CP932 code for code; encoding writes glibc's choice
// among a character's codes, and only a code that decodes back to it.
TEST(Cp932Codec, TableIsGlibcsCodePage932CodeForCode) {
  const iconv_t decode = iconv_open("UTF-32LE", "CP932");
  const iconv_t encode = iconv_open("CP932", "UTF-32LE");
  ASSERT_NE(decode, reinterpret_cast<iconv_t>(-1));
  ASSERT_NE(encode, reinterpret_cast<iconv_t>(-1));
  int assigned = 0;
  for (unsigned lead = 0x81; lead <= 0xFC; ++lead) {
    if (!vx::IsCp932LeadByte(static_cast<unsigned char>(lead))) continue;
    for (unsigned trail = 0x00; trail <= 0xFF; ++trail) {
      const std::string bytes = {static_cast<char>(lead), static_cast<char>(trail)};
      const std::string glibc = Iconv(decode, bytes);
      const char32_t expected = glibc.size() == 4 ? static_cast<char32_t>(
          static_cast<unsigned char>(glibc[0]) | static_cast<unsigned char>(glibc[1]) << 8 |
          static_cast<unsigned char>(glibc[2]) << 16) : 0;
      ASSERT_EQ(vx::Cp932DoubleByte(static_cast<unsigned char>(lead), static_cast<unsigned char>(trail)), expected)
          << std::hex << lead << " " << trail << "\n" << REGENERATE;
      assigned += expected != 0;
    }
  }
  EXPECT_EQ(assigned, 9604) << REGENERATE;
  for (char32_t c = 0x80; c < 0x10000; ++c) {
    if (c >= 0xD800 && c <= 0xDFFF) continue;
    std::string glibc = Iconv(encode, Utf32(c));
    const auto lead = glibc.empty() ? 0 : static_cast<unsigned char>(glibc[0]);
    const bool strict = glibc.size() == 2 ? vx::IsCp932LeadByte(lead) : glibc.size() == 1 && lead >= 0xA1 && lead <= 0xDF;
    if (!strict || Iconv(decode, glibc) != Utf32(c)) glibc.clear();
    ASSERT_EQ(Encoded(c), glibc) << std::hex << static_cast<unsigned>(c) << "\n" << REGENERATE;
  }
  iconv_close(decode);
  iconv_close(encode);
}

}  // namespace
