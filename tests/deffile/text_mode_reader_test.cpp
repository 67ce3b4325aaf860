// The reader's own promises, which the loader's results alone would not show.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "deffile/byte_sources.h"
#include "deffile/text_mode_reader.h"

namespace vx {
namespace {

TEST(TextModeReader, LeavesTheBufferUntouchedWhenNothingIsLeft) {
  const std::string bytes = "ab\r";
  MemoryByteSource source(bytes.data(), bytes.size());
  TextModeReader reader(source);
  char buffer[8];
  ASSERT_EQ(reader.ReadLine(buffer, sizeof buffer), 2u);
  EXPECT_STREQ(buffer, "ab");
  std::memcpy(buffer, "keep", 5);
  EXPECT_EQ(reader.ReadLine(buffer, sizeof buffer), 0u);
  EXPECT_EQ(reader.ReadLine(buffer, sizeof buffer), 0u);
  EXPECT_STREQ(buffer, "keep");
}

// Large blocks of CRs and a mark far into the file cross the reader's own
// block boundaries.
TEST(TextModeReader, DropsEveryCrAndStopsAtTheMarkAcrossBlocks) {
  std::string bytes(40000, '\r');
  bytes += "x\r\r\ny";
  bytes += std::string(30000, '\r');
  bytes += "z\x1A" "after\n";
  for (std::size_t chunk : {std::size_t{1}, std::size_t{4096}, static_cast<std::size_t>(-1)}) {
    MemoryByteSource source(bytes.data(), bytes.size(), chunk);
    TextModeReader reader(source);
    char buffer[16];
    ASSERT_EQ(reader.ReadLine(buffer, sizeof buffer), 2u) << chunk;
    EXPECT_STREQ(buffer, "x\n");
    ASSERT_EQ(reader.ReadLine(buffer, sizeof buffer), 2u);
    EXPECT_STREQ(buffer, "yz");
    EXPECT_EQ(reader.ReadLine(buffer, sizeof buffer), 0u);
    EXPECT_TRUE(reader.StoppedAtEndMark());
    // Only what came with the read that found the mark is seen.
    EXPECT_EQ(reader.BytesSeenAfterEndMark(), chunk == 1 ? 0u : 6u);
  }
}

}  // namespace
}  // namespace vx
