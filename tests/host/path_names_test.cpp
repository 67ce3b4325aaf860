// Paths as the editor hands them to the file system.
#include "host/path_names.h"

#include <gtest/gtest.h>

#include <string>

namespace vxhost {
namespace {

TEST(PathNames, LongPathsTakeTheExtendedFormAndDeviceNamesAreKnown) {
  const std::wstring folder = L"C:\\" + std::wstring(300, L'a');
  const std::wstring justShort = L"C:\\" + std::wstring(LONG_PATH_FROM - 4, L'b');
  struct Case {
    std::wstring path;
    std::wstring extended;
  };
  const Case CASES[] = {
      {L"C:\\short\\page.html",                 L"C:\\short\\page.html"},
      {justShort,                               justShort},
      {justShort + L"c",                        L"\\\\?\\" + justShort + L"c"},
      {folder + L"\\page.html",                 L"\\\\?\\" + folder + L"\\page.html"},
      {L"c:/" + std::wstring(300, L'a') + L"/p", L"\\\\?\\c:\\" + std::wstring(300, L'a') + L"\\p"},
      {L"\\\\server\\share\\" + std::wstring(300, L'a'), L"\\\\?\\UNC\\server\\share\\" + std::wstring(300, L'a')},
      {L"\\\\?\\" + folder,                     L"\\\\?\\" + folder},
      {L"\\\\.\\" + folder,                     L"\\\\.\\" + folder},
      {std::wstring(300, L'r'),                 std::wstring(300, L'r')},
  };
  for (const Case& c : CASES) EXPECT_EQ(ExtendedLengthPath(c.path), c.extended) << c.path.size();

  struct Device {
    const wchar_t* path;
    bool device;
  };
  static constexpr Device DEVICES[] = {
      {L"aux.html",                true},
      {L"C:\\docs\\COM1.txt",      true},
      {L"C:\\docs\\nul",           true},
      {L"C:/docs/Lpt9.tar.gz",     true},
      {L"con .html",               true},
      {L"conout$",                 true},
      {L"com\u00B9.txt",           true},
      {L"auxiliary.html",          false},
      {L"com0.txt",                false},
      {L"com10.txt",               false},
      {L"C:\\aux\\page.html",      false},
      {L"my-con.html",             false},
      {L"",                        false},
  };
  for (const Device& d : DEVICES) EXPECT_EQ(IsDeviceName(d.path), d.device) << std::wstring(d.path).size();
}

}  // namespace
}  // namespace vxhost
