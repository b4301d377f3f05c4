#pragma once

#include "platform/Control.h"

#include <functional>

// An area that its owner paints through OnPaint; mouse input reaches the control's mouse events.
class TPaintBox : public TControl {
public:
    explicit TPaintBox(TForm& parent);

    std::function<void(TCanvas&)> OnPaint;
    void Paint(TCanvas& canvas) override;
};
