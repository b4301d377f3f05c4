#pragma once

#include "common/KelRect.h"
#include "common/KelList.h"

// One changed rectangle of a surface.
class TDamageNode : public TKelNode {
public:
    explicit TDamageNode(const TRect& rect)
        : Rect(rect)
    {
    }
    TRect Rect;
};

// A surface's changed rectangles in the order added. Rectangles merge by containment only.
class TDamageList : public TKelList {
public:
    void AddRect(const TRect& r);
};
