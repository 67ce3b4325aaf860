// A stand-in host editor for native tests: records every insert request and
// focus hand-back, in order, with each text copied at the moment it was sent.
#pragma once
#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "catalogue/platform_seams.h"

namespace vx::fakes {

struct SentInsert {
  std::int32_t code;
  std::string text;
  bool operator==(const SentInsert& other) const { return code == other.code && text == other.text; }
};

struct HostEvent {
  enum class Kind { Insert, HandBack };
  Kind kind;
  SentInsert insert;           // Insert only
  const char* textAddress;     // Insert only: the pointer as sent
  std::uintptr_t treeWindow;   // HandBack only
};

void ClearRecordedHost();
const std::vector<HostEvent>& RecordedHostEvents();
// The insert requests alone, in order.
std::vector<SentInsert> RecordedInserts();
int RecordedHandBackCount();

inline std::ostream& operator<<(std::ostream& out, const SentInsert& insert) {
  return out << "{" << insert.code << ", \"" << insert.text << "\"}";
}

}  // namespace vx::fakes
