#include "platform/AccessibleModel.h"
#include "platform/MessageBox.h"

#include <memory>

namespace {

void pw_item_accessible_action_init(AtkActionIface* iface);
void pw_item_accessible_component_init(AtkComponentIface* iface);
void pw_item_accessible_image_init(AtkImageIface* iface);

// NOLINTBEGIN: the toolkit's type macros
G_DEFINE_TYPE_WITH_CODE(PwItemAccessible, pw_item_accessible, ATK_TYPE_OBJECT,
    G_IMPLEMENT_INTERFACE(ATK_TYPE_ACTION, pw_item_accessible_action_init)
        G_IMPLEMENT_INTERFACE(ATK_TYPE_COMPONENT, pw_item_accessible_component_init)
            G_IMPLEMENT_INTERFACE(ATK_TYPE_IMAGE, pw_item_accessible_image_init))
// NOLINTEND

PwItemAccessible* AsItem(gpointer object)
{
    return G_TYPE_CHECK_INSTANCE_CAST(object, pw_item_accessible_get_type(), PwItemAccessible);
}

// Read anew at each question, so that a name, a description or a state is never stale.
const TAccessibleItem* ItemOf(gpointer object)
{
    const PwItemAccessible* self = AsItem(object);
    if (self->Model == nullptr)
        return nullptr;
    TAccessibleModel* model = self->Model;
    // The refresh may drop this very child; it lives until the question is answered.
    const TGObjectPtr<void> keep(g_object_ref(object));
    model->Refresh();
    return self->Model != nullptr ? model->Item(self->Index) : nullptr;
}

AtkRole ToolkitRole(TAccessibleRole role)
{
    switch (role) {
    case TAccessibleRole::Picture:
        return ATK_ROLE_IMAGE;
    case TAccessibleRole::PushButton:
        return ATK_ROLE_PUSH_BUTTON;
    case TAccessibleRole::Link:
        return ATK_ROLE_LINK;
    case TAccessibleRole::None:
        break;
    }
    return ATK_ROLE_UNKNOWN;
}

const gchar* ItemName(AtkObject* object)
{
    const TAccessibleItem* item = ItemOf(object);
    return item != nullptr ? item->Name.c_str() : "";
}

const gchar* ItemDescription(AtkObject* object)
{
    const TAccessibleItem* item = ItemOf(object);
    return item != nullptr ? item->Description.c_str() : "";
}

AtkRole ItemRole(AtkObject* object)
{
    const TAccessibleItem* item = ItemOf(object);
    return item != nullptr ? ToolkitRole(item->Role) : ATK_ROLE_UNKNOWN;
}

gint ItemIndex(AtkObject* object)
{
    return AsItem(object)->Index;
}

AtkStateSet* ItemStates(AtkObject* object)
{
    AtkStateSet* states = atk_state_set_new();
    const TAccessibleItem* item = ItemOf(object);
    if (item == nullptr) {
        atk_state_set_add_state(states, ATK_STATE_DEFUNCT);
        return states;
    }
    if (item->State.Visible) {
        atk_state_set_add_state(states, ATK_STATE_VISIBLE);
        atk_state_set_add_state(states, ATK_STATE_SHOWING);
    }
    if (item->State.Enabled) {
        atk_state_set_add_state(states, ATK_STATE_ENABLED);
        atk_state_set_add_state(states, ATK_STATE_SENSITIVE);
    }
    if (item->State.Pressed)
        atk_state_set_add_state(states, ATK_STATE_PRESSED);
    if (item->State.Checked)
        atk_state_set_add_state(states, ATK_STATE_CHECKED);
    if (item->State.Focusable)
        atk_state_set_add_state(states, ATK_STATE_FOCUSABLE);
    if (item->State.Focused)
        atk_state_set_add_state(states, ATK_STATE_FOCUSED);
    return states;
}

void pw_item_accessible_init(PwItemAccessible* self)
{
    self->Model = nullptr;
    self->Index = -1;
}

void pw_item_accessible_class_init(PwItemAccessibleClass* klass)
{
    AtkObjectClass* atk = ATK_OBJECT_CLASS(klass);
    atk->get_name = ItemName;
    atk->get_description = ItemDescription;
    atk->get_role = ItemRole;
    atk->get_index_in_parent = ItemIndex;
    atk->ref_state_set = ItemStates;
}

struct TPendingAction {
    TAccessibleModel* Model;
    std::function<void()> Action;
    guint Source = 0;
};

gboolean RunPendingAction(gpointer data)
{
    auto* pending = static_cast<TPendingAction*>(data);
    std::erase(pending->Model->PendingActions, pending->Source);
    RunGuarded([&] { pending->Action(); });
    return G_SOURCE_REMOVE;
}

void DeletePendingAction(gpointer data)
{
    std::unique_ptr<TPendingAction> owned(static_cast<TPendingAction*>(data));
}

gboolean DoItemAction(AtkAction* action, gint i)
{
    PwItemAccessible* self = AsItem(action);
    const TAccessibleItem* item = ItemOf(action);
    if (i != 0 || item == nullptr || !item->Action || !item->State.Enabled)
        return FALSE;
    // The caller waits for the answer; a click that opens a modal window must not keep it.
    auto pending = std::make_unique<TPendingAction>(TPendingAction {self->Model, item->Action});
    TPendingAction* raw = pending.get();
    raw->Source = g_idle_add_full(
        G_PRIORITY_DEFAULT, RunPendingAction, pending.release(), DeletePendingAction);
    self->Model->PendingActions.push_back(raw->Source);
    return TRUE;
}

gint ItemActionCount(AtkAction* action)
{
    const TAccessibleItem* item = ItemOf(action);
    return item != nullptr && item->Action ? 1 : 0;
}

const gchar* ItemActionName(AtkAction* action, gint i)
{
    return i == 0 && ItemActionCount(action) == 1 ? "click" : nullptr;
}

void pw_item_accessible_action_init(AtkActionIface* iface)
{
    iface->do_action = DoItemAction;
    iface->get_n_actions = ItemActionCount;
    iface->get_name = ItemActionName;
}

// The area's own extents plus the item's place on it, at the form's zoom.
void ItemExtents(
    AtkComponent* component, gint* x, gint* y, gint* width, gint* height, AtkCoordType coordType)
{
    *x = *y = *width = *height = 0;
    const PwItemAccessible* self = AsItem(component);
    const TAccessibleItem* item = ItemOf(component);
    if (item == nullptr)
        return;
    AtkObject* area = gtk_widget_get_accessible(self->Model->Area);
    gint ax = 0, ay = 0, aw = 0, ah = 0;
    atk_component_get_extents(ATK_COMPONENT(area), &ax, &ay, &aw, &ah, coordType);
    const int32_t zoom = AreaZoom(self->Model->Area);
    *x = ax + item->Bounds.Left * zoom;
    *y = ay + item->Bounds.Top * zoom;
    *width = RectWidth(item->Bounds) * zoom;
    *height = RectHeight(item->Bounds) * zoom;
}

void pw_item_accessible_component_init(AtkComponentIface* iface)
{
    iface->get_extents = ItemExtents;
}

const gchar* ItemImageDescription(AtkImage* image)
{
    return ItemDescription(ATK_OBJECT(image));
}

void ItemImageSize(AtkImage* image, gint* width, gint* height)
{
    gint x = 0, y = 0;
    ItemExtents(ATK_COMPONENT(image), &x, &y, width, height, ATK_XY_WINDOW);
}

void ItemImagePosition(AtkImage* image, gint* x, gint* y, AtkCoordType coordType)
{
    gint width = 0, height = 0;
    ItemExtents(ATK_COMPONENT(image), x, y, &width, &height, coordType);
}

void pw_item_accessible_image_init(AtkImageIface* iface)
{
    iface->get_image_description = ItemImageDescription;
    iface->get_image_size = ItemImageSize;
    iface->get_image_position = ItemImagePosition;
}

} // namespace

PwItemAccessible* NewItemAccessible(TAccessibleModel* model, int index, AtkObject* parent)
{
    auto* child = AsItem(g_object_new(pw_item_accessible_get_type(), nullptr));
    child->Model = model;
    child->Index = index;
    atk_object_set_parent(ATK_OBJECT(child), parent);
    return child;
}
