// vxtags' bindings of the add-in's seams: insert requests are printed, the
// colour dialog answers as the command line asks.
#pragma once
#include <cstdint>

#include "catalogue/color_choice.h"

namespace vxtags {

// The tag id printed in front of each insert request.
extern std::int32_t CurrentTagId;

enum class ColorDialogMode { AcceptInitial, AcceptFixed, Cancel };
// How every colour choice answers; fixedColor is used by AcceptFixed.
void SetColorDialogMode(ColorDialogMode mode, vx::ColorRef fixedColor);

}  // namespace vxtags
