// vxtags' bindings of the add-in's seams: insert requests are kept for the
// command that ran the recipe to print, and the colour dialog gives the
// answer the command line asked for.
#pragma once
#include <string>
#include <vector>

#include "catalogue/color_choice.h"
#include "protocol/host_protocol.h"

namespace vxtags {

struct RecordedRequest {
  vx::InsertCode code;
  std::string text;
};

// The insert requests sent since the last call, oldest first.
std::vector<RecordedRequest> TakeInsertRequests();

enum class ColorDialogMode { AcceptInitial, AcceptFixed, Cancel };
struct ColorDialogAnswer {
  ColorDialogMode mode;
  vx::ColorRef fixedColor;  // the colour AcceptFixed accepts
};
// How every colour choice from now on answers.
void AnswerColorDialogs(const ColorDialogAnswer& answer);

}  // namespace vxtags
