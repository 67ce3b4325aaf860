// A stand-in host editor for native tests: records every insert request and
// focus hand-back, in order, with each text copied at the moment it was sent.
// Expected records are written in the Wine recorder's words:
// {Insert(InsertLead, "<P>"), Insert(InsertTrail, "</P>"), HandBack(tree)}.
#pragma once
#include <cstdint>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "catalogue/platform_seams.h"
#include "tree/platform_seams.h"

namespace vx::fakes {

struct SentInsert {
  std::int32_t code;
  std::string text;
  bool operator==(const SentInsert& other) const { return code == other.code && text == other.text; }
};

struct HostEvent {
  enum class Kind { Insert, HandBack };
  Kind kind = Kind::Insert;
  SentInsert insert;                   // Insert only
  const char* textAddress = nullptr;   // Insert only: the pointer as sent; not compared
  std::uintptr_t treeWindow = 0;       // HandBack only

  HostEvent(SentInsert sent, const char* address = nullptr)
      : insert(std::move(sent)), textAddress(address) {}
  HostEvent(Kind k, std::uintptr_t window) : kind(k), insert{0, ""}, treeWindow(window) {}
  bool operator==(const HostEvent& other) const {
    return kind == other.kind && insert == other.insert && treeWindow == other.treeWindow;
  }
};

inline SentInsert Insert(InsertCode code, std::string text) { return {code, std::move(text)}; }
inline HostEvent HandBack(std::uintptr_t treeWindow) {
  return HostEvent(HostEvent::Kind::HandBack, treeWindow);
}

void ClearRecordedHost();
const std::vector<HostEvent>& RecordedHostEvents();
// The insert requests alone, in order.
std::vector<SentInsert> RecordedInserts();
int RecordedHandBackCount();

inline std::ostream& operator<<(std::ostream& out, const SentInsert& insert) {
  return out << "Insert(" << insert.code << ", \"" << insert.text << "\")";
}
inline std::ostream& operator<<(std::ostream& out, const HostEvent& event) {
  if (event.kind == HostEvent::Kind::HandBack) return out << "HandBack(" << event.treeWindow << ")";
  return out << event.insert;
}

}  // namespace vx::fakes
