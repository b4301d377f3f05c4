#include "platform/Accessibility.h"

#include "platform/AccessibleModel.h"
#include "platform/MessageBox.h"

#include <gtk/gtk-a11y.h>

#include <memory>
#include <utility>

// The form's drawing area answers for its windowless items: its accessible reports one child
// object per item, which reads the item anew on every question.

namespace {

constexpr const char* ModelKey = "pathwarden-accessible-model";

} // namespace

// Asked from the toolkit's C code, as every question of assistive technology is: a failure is
// reported there and then, and the items stay as last read. Questions asked meanwhile (the box's
// own, or a listener's after a child was added or removed below) see that state.
void TAccessibleModel::Refresh()
{
    if (Refreshing)
        return;
    Refreshing = true;
    const std::shared_ptr<bool> alive = Alive;
    RunGuarded([this] { ReadItems(); });
    if (*alive)
        Refreshing = false;
}

void TAccessibleModel::ReadItems()
{
    Items = Source ? Source() : std::vector<TAccessibleItem>();
    AtkObject* parent = gtk_widget_get_accessible(Area);
    while (Children.size() > Items.size()) {
        TGObjectPtr<PwItemAccessible> gone = std::move(Children.back());
        Children.pop_back();
        gone->Model = nullptr;
        g_signal_emit_by_name(
            parent, "children-changed::remove", static_cast<guint>(Children.size()), gone.get());
    }
    while (Children.size() < Items.size()) {
        PwItemAccessible* child
            = NewItemAccessible(this, static_cast<int>(Children.size()), parent);
        Children.emplace_back(child);
        g_signal_emit_by_name(
            parent, "children-changed::add", static_cast<guint>(child->Index), child);
    }
}

namespace {

TAccessibleModel* ModelOf(AtkObject* object)
{
    GtkWidget* widget = gtk_accessible_get_widget(GTK_ACCESSIBLE(object));
    return widget != nullptr
        ? static_cast<TAccessibleModel*>(g_object_get_data(G_OBJECT(widget), ModelKey))
        : nullptr;
}

gint AreaChildCount(AtkObject* object)
{
    TAccessibleModel* model = ModelOf(object);
    if (model == nullptr)
        return 0;
    model->Refresh();
    // A failure's report runs a message loop, in which the form may have gone.
    model = ModelOf(object);
    return model != nullptr ? static_cast<gint>(model->Children.size()) : 0;
}

AtkObject* AreaChild(AtkObject* object, gint i)
{
    if (i < 0 || i >= AreaChildCount(object))
        return nullptr;
    const TAccessibleModel* model = ModelOf(object);
    return ATK_OBJECT(g_object_ref(model->Children[static_cast<size_t>(i)].get()));
}

void DeleteModel(gpointer data)
{
    std::unique_ptr<TAccessibleModel> owned(static_cast<TAccessibleModel*>(data));
}

// The form's drawing area has an accessible kind of its own, which answers with the form's items
// and with no children while the form has none; the toolkit's own kinds stay as they are.
struct PwAreaAccessible {
    GtkWidgetAccessible Parent;
};
struct PwAreaAccessibleClass {
    GtkWidgetAccessibleClass ParentClass;
};
struct PwFormArea {
    GtkDrawingArea Parent;
};
struct PwFormAreaClass {
    GtkDrawingAreaClass ParentClass;
};

// NOLINTBEGIN: the toolkit's type macros
G_DEFINE_TYPE(PwAreaAccessible, pw_area_accessible, GTK_TYPE_WIDGET_ACCESSIBLE)
G_DEFINE_TYPE(PwFormArea, pw_form_area, GTK_TYPE_DRAWING_AREA)
// NOLINTEND

void pw_area_accessible_class_init(PwAreaAccessibleClass* klass)
{
    AtkObjectClass* atk = ATK_OBJECT_CLASS(klass);
    atk->get_n_children = AreaChildCount;
    atk->ref_child = AreaChild;
}

void pw_area_accessible_init(PwAreaAccessible*)
{
}

void pw_form_area_class_init(PwFormAreaClass* klass)
{
    gtk_widget_class_set_accessible_type(GTK_WIDGET_CLASS(klass), pw_area_accessible_get_type());
}

void pw_form_area_init(PwFormArea*)
{
}

} // namespace

GtkWidget* NewFormArea()
{
    return GTK_WIDGET(g_object_new(pw_form_area_get_type(), nullptr));
}

void SetFormAccessibility(TForm& form, TAccessibleSource source)
{
    GtkWidget* area = form.Window().Area;
    if (!source) {
        g_object_set_data(G_OBJECT(area), ModelKey, nullptr);
        return;
    }
    auto model = std::make_unique<TAccessibleModel>();
    model->Source = std::move(source);
    model->Area = area;
    g_object_set_data_full(G_OBJECT(area), ModelKey, model.release(), DeleteModel);
}

void AnnounceOnForm(TForm& form, const std::string& text)
{
    AtkObject* accessible = gtk_widget_get_accessible(form.Window().Area);
    if (g_signal_lookup("announcement", ATK_TYPE_OBJECT) != 0)
        g_signal_emit_by_name(accessible, "announcement", text.c_str());
    // Screen readers without the signal hear it as a changed description of the board area.
    atk_object_set_description(accessible, text.c_str());
}
