// The recording host's implementations of the host protocol seams.
#include "tests/fakes/recording_host.h"

namespace vx {
namespace {

std::vector<fakes::HostEvent>& Events() {
  static std::vector<fakes::HostEvent> events;
  return events;
}

}  // namespace

void SendInsertRequest(InsertCode code, const char* text) {
  // Copy now: the sender overwrites its buffer as soon as this returns.
  Events().push_back(fakes::HostEvent({code, text != nullptr ? text : ""}, text));
}

void SendFocusHandBack(std::uintptr_t treeWindow) {
  Events().push_back(fakes::HandBack(treeWindow));
}

namespace fakes {

void ClearRecordedHost() { Events().clear(); }

const std::vector<HostEvent>& RecordedHostEvents() { return Events(); }

std::vector<SentInsert> RecordedInserts() {
  std::vector<SentInsert> inserts;
  for (const HostEvent& event : Events()) {
    if (event.kind == HostEvent::Kind::Insert) inserts.push_back(event.insert);
  }
  return inserts;
}

int RecordedHandBackCount() {
  int count = 0;
  for (const HostEvent& event : Events()) count += event.kind == HostEvent::Kind::HandBack;
  return count;
}

}  // namespace fakes
}  // namespace vx
