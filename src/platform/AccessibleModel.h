#pragma once

// The accessible objects behind a form's windowless items; included only by the platform
// layer's own sources.

#include "platform/Accessibility.h"
#include "platform/GtkGlue.h"

#include <memory>
#include <vector>

struct TAccessibleModel;

// One item's accessible object: it answers every question from the model's current items.
struct PwItemAccessible {
    AtkObject Parent;
    TAccessibleModel* Model;
    int Index;
};
struct PwItemAccessibleClass {
    AtkObjectClass ParentClass;
};

// The form's items and the accessible objects made for them, kept with the form's drawing area.
struct TAccessibleModel {
    TAccessibleSource Source;
    GtkWidget* Area = nullptr;
    std::vector<TAccessibleItem> Items;
    std::vector<TGObjectPtr<PwItemAccessible>> Children;
    std::vector<guint> PendingActions;
    bool Refreshing = false;
    // False once the model is gone, which the report of a failed refresh may bring about.
    std::shared_ptr<bool> Alive = std::make_shared<bool>(true);

    ~TAccessibleModel()
    {
        *Alive = false;
        for (const guint source : PendingActions)
            g_source_remove(source);
        for (const auto& child : Children)
            child->Model = nullptr;
    }
    // Reads the items anew; never throws.
    void Refresh();
    // Tells of the item that lost the focus and of the one that took it.
    void FocusMoved();
    int FocusedIndex = -1;
    const TAccessibleItem* Item(int index) const
    {
        return index >= 0 && index < static_cast<int>(Items.size()) ? &Items[index] : nullptr;
    }

private:
    void ReadItems();
};

// The form's keyboard focus moved to another control, or to none.
void AccessibleFocusMoved(TForm& form);
// A new accessible object for the model's item at index, a child of parent.
PwItemAccessible* NewItemAccessible(TAccessibleModel* model, int index, AtkObject* parent);
