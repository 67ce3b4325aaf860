// Reading of the hand-written fixture files beside the tests: one record per
// line, fields separated by TAB.
#pragma once
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace vx::test_support {

inline std::string FixturePath(const std::string& relativeToRoot) {
  const char* root = std::getenv("VX_SOURCE_DIR");
  return std::string(root != nullptr ? root : ".") + "/" + relativeToRoot;
}

inline std::string ReadWholeFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream content;
  content << in.rdbuf();
  return content.str();
}

inline std::vector<std::vector<std::string>> ReadFixtureRecords(const std::string& relativeToRoot) {
  std::vector<std::vector<std::string>> records;
  std::istringstream lines(ReadWholeFile(FixturePath(relativeToRoot)));
  for (std::string line; std::getline(lines, line);) {
    std::vector<std::string> fields;
    std::string::size_type start = 0;
    for (std::string::size_type tab; (tab = line.find('\t', start)) != std::string::npos; start = tab + 1)
      fields.push_back(line.substr(start, tab - start));
    fields.push_back(line.substr(start));
    records.push_back(fields);
  }
  return records;
}

}  // namespace vx::test_support
