// The recovery file's bytes: what is written reads back whole, and every
// way a file can be cut or changed is refused rather than half read.
#include "host/recovery_format.h"

#include <gtest/gtest.h>

#include <string>

namespace vxhost {
namespace {

RecoveryRecord Sample() {
  RecoveryRecord record;
  record.document = "C:\\\xE6\x96\x87\xE6\x9B\xB8\\page.html";
  record.encoding = Encoding::ShiftJis;
  record.byteOrderMark = false;
  record.disk = DiskState{1234, 133456789012345678ull};
  record.kept = {KeptLine{1, "\xFB\xFC\r\n"}, KeptLine{4, "\xEE\xE0\r"}};
  record.text = "line\r\n\xE9\xAB\x99\r\n\n\r\n\xE9\xAB\x99\r";
  return record;
}

TEST(RecoveryFormat, WhatIsWrittenReadsBackWhole) {
  RecoveryRecord untitled;
  untitled.text = std::string(3 * 1024 * 1024, 'a');  // larger than any limit of the old format's reader
  RecoveryRecord noDisk = Sample();
  noDisk.disk.reset();
  noDisk.kept.clear();
  for (const RecoveryRecord& record : {Sample(), untitled, noDisk}) {
    RecoveryRecord read;
    ASSERT_TRUE(ParseRecovery(FormatRecovery(record), read));
    EXPECT_EQ(read.document, record.document);
    EXPECT_EQ(read.encoding, record.encoding);
    EXPECT_EQ(read.byteOrderMark, record.byteOrderMark);
    EXPECT_EQ(read.disk.has_value(), record.disk.has_value());
    if (read.disk && record.disk) {
      EXPECT_EQ(*read.disk, *record.disk);
    }
    ASSERT_EQ(read.kept.size(), record.kept.size());
    for (std::size_t i = 0; i < read.kept.size(); ++i) {
      EXPECT_EQ(read.kept[i].line, record.kept[i].line);
      EXPECT_EQ(read.kept[i].bytes, record.kept[i].bytes);
    }
    EXPECT_EQ(read.text, record.text);
  }
  EXPECT_NE(FormatRecovery(Sample()).find("kept=1 FBFC0D0A\nkept=4 EEE00D\n"), std::string::npos);
}

TEST(RecoveryFormat, RecoverySituations) {
  const std::string whole = FormatRecovery(Sample());
  struct Case {
    const char* what;
    std::string bytes;
    bool read;
  };
  auto replaced = [&](const std::string& from, const std::string& to) {
    std::string bytes = whole;
    bytes.replace(bytes.find(from), from.size(), to);
    return bytes;
  };
  const Case CASES[] = {
      {"whole",                               whole,                                                   true},
      {"written by the first version",        "VX-HOST-RECOVERY 1\ndocument=C:\\a.html\nencoding=UTF-8\nbom=1\nlength=2\n\nok", true},
      {"cut short by a byte",                 whole.substr(0, whole.size() - 1),                       false},
      {"a byte too many",                     whole + "x",                                             false},
      {"cut inside the header",               whole.substr(0, 40),                                     false},
      {"empty",                               "",                                                      false},
      {"another signature",                   replaced("RECOVERY 2", "RECOVERY 9"),                    false},
      {"an unknown encoding",                 replaced("Shift_JIS", "EUC-JP"),                         false},
      {"disk state not a number",             replaced("disk=1234", "disk=12x4"),                      false},
      {"a kept line of odd hex",              replaced("kept=4 EEE00D", "kept=4 EEE00"),               false},
      {"kept lines out of order",             replaced("kept=4 ", "kept=0 "),                          false},
      {"a length beyond 64 bits",             replaced("length=", "length=99999999999999999999999"),   false},
      {"no empty line after the header",      replaced("\n\nline", "\nline"),                          false},
  };
  for (const Case& c : CASES) {
    RecoveryRecord read;
    EXPECT_EQ(ParseRecovery(c.bytes, read), c.read) << c.what;
  }
  RecoveryRecord old;
  ASSERT_TRUE(ParseRecovery(CASES[1].bytes, old));
  EXPECT_FALSE(old.disk.has_value());
  EXPECT_FALSE(old.diskRecorded) << "the first version kept no disk state";
  EXPECT_TRUE(old.byteOrderMark);
  EXPECT_EQ(old.text, "ok");
}

}  // namespace
}  // namespace vxhost
