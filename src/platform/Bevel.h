#pragma once

#include "platform/Control.h"

#include <cstdint>

enum class TBevelStyle : uint8_t { Lowered, Raised };

// A sunken or raised frame along the control's edges.
class TBevel : public TControl {
public:
    explicit TBevel(TForm& parent);

    TBevelStyle Style = TBevelStyle::Lowered;
    void Paint(TCanvas& canvas) override;
};
