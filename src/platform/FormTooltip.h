#pragma once

#include "platform/Form.h"

#include <cstdint>
#include <functional>
#include <string>

// The text of a tooltip at a point of the form's client area; empty for none.
using TTooltipSource = std::function<std::string(int32_t x, int32_t y)>;

// Shows tooltips over the form wherever the source gives a text; an empty source removes them.
// The form keeps the source until it is replaced or the form goes.
void SetFormTooltip(TForm& form, TTooltipSource source);
// The text the form's tooltip shows at the point now; empty for none.
std::string FormTooltipAt(TForm& form, int32_t x, int32_t y);
