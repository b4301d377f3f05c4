#include "surface/DamageList.h"

void TDamageList::AddRect(const TRect& r)
{
    for (TKelNode* node = Next(nullptr); node != nullptr; node = Next(node)) {
        TRect& existing = static_cast<TDamageNode*>(node)->Rect;
        TRect overlap;
        if (!IntersectRect(overlap, r, existing))
            continue;
        if (overlap == r)
            return;
        if (overlap == existing) {
            existing = r;
            return;
        }
    }
    AddTail(new TDamageNode(r));
}
