#pragma once

#include "common/KelRect.h"
#include "platform/Control.h"
#include "platform/Form.h"

#include <functional>
#include <string>
#include <vector>

// One thing on a form that assistive technology is told about: a windowless control or a part
// of one (an arrow drawn on a board).
struct TAccessibleItem {
    TAccessibleRole Role = TAccessibleRole::None;
    std::string Name;
    std::string Description;
    TAccessibleState State;
    // In client co-ordinates.
    TRect Bounds {0, 0, 0, 0};
    // The default action (a click); none when empty. Run from the message loop, not from the
    // assistive technology's call.
    std::function<void()> Action;
};

// The items of the form as they are now, in a stable order: items that come and go last.
using TAccessibleSource = std::function<std::vector<TAccessibleItem>()>;

// Exposes the items as the form's accessible children; an empty source removes them. The form
// keeps the source until it is replaced or the form goes.
void SetFormAccessibility(TForm& form, TAccessibleSource source);
// Tells a screen reader something that has just happened on the form, such as the end of a game.
void AnnounceOnForm(TForm& form, const std::string& text);
