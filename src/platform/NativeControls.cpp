#include "platform/NativeControls.h"

#include "platform/GtkGlue.h"
#include "platform/MessageBox.h"
#include "platform/NativeGlue.h"

#include <algorithm>
#include <cmath>

// A fixed container that asks for exactly its own size request and gives each child exactly
// its place and size request, whatever the child's text or theme would like.
struct TExactFixed {
    GtkFixed Parent;
};
struct TExactFixedClass {
    GtkFixedClass ParentClass;
};
G_DEFINE_TYPE(TExactFixed, exact_fixed, GTK_TYPE_FIXED)

namespace {

void ExactFixedWidth(GtkWidget* widget, gint* minimum, gint* natural)
{
    gint width = 0;
    gtk_widget_get_size_request(widget, &width, nullptr);
    *minimum = *natural = std::max(width, 0);
}

void ExactFixedHeight(GtkWidget* widget, gint* minimum, gint* natural)
{
    gint height = 0;
    gtk_widget_get_size_request(widget, nullptr, &height);
    *minimum = *natural = std::max(height, 0);
}

void ExactFixedAllocate(GtkWidget* widget, GtkAllocation* allocation)
{
    gtk_widget_set_allocation(widget, allocation);
    GList* children = gtk_container_get_children(GTK_CONTAINER(widget));
    for (GList* item = children; item != nullptr; item = item->next) {
        auto* child = GTK_WIDGET(item->data);
        if (!gtk_widget_get_visible(child))
            continue;
        gint x = 0;
        gint y = 0;
        gtk_container_child_get(GTK_CONTAINER(widget), child, "x", &x, "y", &y, nullptr);
        // The toolkit wants every child measured before it is placed.
        GtkRequisition wanted;
        gtk_widget_get_preferred_size(child, &wanted, nullptr);
        gint width = 0;
        gint height = 0;
        gtk_widget_get_size_request(child, &width, &height);
        GtkAllocation place {allocation->x + x, allocation->y + y,
            width >= 0 ? width : wanted.width, height >= 0 ? height : wanted.height};
        gtk_widget_size_allocate(child, &place);
    }
    g_list_free(children);
}

} // namespace

static void exact_fixed_class_init(TExactFixedClass* type)
{
    GtkWidgetClass* widget = GTK_WIDGET_CLASS(type);
    widget->get_preferred_width = ExactFixedWidth;
    widget->get_preferred_height = ExactFixedHeight;
    widget->size_allocate = ExactFixedAllocate;
}

static void exact_fixed_init(TExactFixed*)
{
}

GtkWidget* NewExactFixed()
{
    return GTK_WIDGET(g_object_new(exact_fixed_get_type(), nullptr));
}

namespace {

GtkWidget* WidgetOf(const TNativeControl& control)
{
    return control.Widget().Widget;
}

GtkWidget* NewLabelWidget()
{
    GtkWidget* label = gtk_label_new("");
    gtk_label_set_yalign(GTK_LABEL(label), 0.0F);
    // A label keeps the size it is given: a line too long for it ends in an ellipsis.
    gtk_label_set_ellipsize(GTK_LABEL(label), PANGO_ELLIPSIZE_END);
    return label;
}

GtkLabel* ButtonLabel(const TNativeControl& control)
{
    return GTK_LABEL(gtk_bin_get_child(GTK_BIN(WidgetOf(control))));
}

void ClickedSignal(GtkButton*, gpointer data)
{
    auto* control = static_cast<TNativeControl*>(data);
    RunGuarded([control] {
        if (control->OnClick)
            control->OnClick();
    });
}

} // namespace

void ApplyLabelFont(GtkLabel* label, const TFont& font, double letterSpacing)
{
    PangoFontDescription* description = pango_font_description_new();
    pango_font_description_set_family(description, font.Name.c_str());
    pango_font_description_set_absolute_size(description, font.Height * double(PANGO_SCALE));
    pango_font_description_set_weight(
        description, font.Bold ? PANGO_WEIGHT_BOLD : PANGO_WEIGHT_NORMAL);
    pango_font_description_set_style(description, PANGO_STYLE_NORMAL);
    PangoAttrList* attributes = pango_attr_list_new();
    pango_attr_list_insert(attributes, pango_attr_font_desc_new(description));
    const auto channel = [&](int shift) { return guint16(((font.Colour >> shift) & 0xFF) * 257); };
    pango_attr_list_insert(
        attributes, pango_attr_foreground_new(channel(16), channel(8), channel(0)));
    pango_attr_list_insert(attributes,
        pango_attr_underline_new(font.Underline ? PANGO_UNDERLINE_SINGLE : PANGO_UNDERLINE_NONE));
    if (letterSpacing != 0)
        pango_attr_list_insert(
            attributes, pango_attr_letter_spacing_new(int(letterSpacing * PANGO_SCALE)));
    gtk_label_set_attributes(label, attributes);
    pango_attr_list_unref(attributes);
    pango_font_description_free(description);
}

TNativeControl* TNativeHost::NativeControlAt(TPoint point, TPoint& at) const
{
    for (auto it = FChildren.rbegin(); it != FChildren.rend(); ++it) {
        TNativeControl* control = *it;
        const TRect& r = control->BoundsRect();
        if (!control->Visible() || !control->Enabled() || point.X < r.Left || point.X >= r.Right
            || point.Y < r.Top || point.Y >= r.Bottom)
            continue;
        const TPoint inside {point.X - r.Left, point.Y - r.Top};
        if (const auto* host = dynamic_cast<const TNativeHost*>(control))
            if (TNativeControl* child = host->NativeControlAt(inside, at))
                return child;
        at = inside;
        return control;
    }
    return nullptr;
}

TNativeControl::TNativeControl(TNativeHost& host, std::unique_ptr<TNativeWidget> widget)
    : FHost(host)
    , FWidget(std::move(widget))
{
    gtk_widget_set_no_show_all(FWidget->Widget, TRUE);
    gtk_widget_show(FWidget->Widget);
    gtk_fixed_put(GTK_FIXED(host.Container().Widget), FWidget->Widget, 0, 0);
    FHost.FChildren.push_back(this);
}

TNativeControl::~TNativeControl()
{
    std::erase(FHost.FChildren, this);
    g_signal_handlers_disconnect_by_data(FWidget->Widget, this);
}

void TNativeControl::SetBounds(int32_t left, int32_t top, int32_t width, int32_t height)
{
    Bounds = {left, top, left + std::max(width, 0), top + std::max(height, 0)};
    gtk_fixed_move(GTK_FIXED(FHost.Container().Widget), FWidget->Widget, left, top);
    gtk_widget_set_size_request(FWidget->Widget, std::max(width, 0), std::max(height, 0));
}

TRect TNativeControl::PlacedRect() const
{
    int x = 0;
    int y = 0;
    if (!gtk_widget_get_mapped(FWidget->Widget)
        || !gtk_widget_translate_coordinates(
            FWidget->Widget, FHost.Container().Widget, 0, 0, &x, &y))
        return {};
    return {x, y, x + gtk_widget_get_allocated_width(FWidget->Widget),
        y + gtk_widget_get_allocated_height(FWidget->Widget)};
}

void TNativeControl::SetVisible(bool visible)
{
    IsVisible = visible;
    gtk_widget_set_visible(FWidget->Widget, visible ? TRUE : FALSE);
}

void TNativeControl::SetEnabled(bool enabled)
{
    IsEnabled = enabled;
    gtk_widget_set_sensitive(FWidget->Widget, enabled ? TRUE : FALSE);
}

bool TNativeControl::Focused() const
{
    return gtk_widget_is_focus(FWidget->Widget) != FALSE;
}

void TNativeControl::SetFocus()
{
    gtk_widget_grab_focus(FWidget->Widget);
}

void TNativeControl::Click()
{
    if (!IsEnabled || !IsVisible)
        return;
    if (GTK_IS_BUTTON(FWidget->Widget))
        gtk_button_clicked(GTK_BUTTON(FWidget->Widget));
    else if (OnClick)
        OnClick();
}

TNativeLabel::TNativeLabel(TNativeHost& host)
    : TNativeControl(host, std::make_unique<TNativeWidget>(NewLabelWidget()))
{
    ApplyText();
}

void TNativeLabel::SetCaption(const std::string& caption)
{
    FCaption = caption;
    gtk_label_set_text(GTK_LABEL(Widget().Widget), caption.c_str());
}

void TNativeLabel::SetFont(const TFont& font)
{
    FFont = font;
    ApplyText();
}

void TNativeLabel::SetLetterSpacing(double pixels)
{
    FLetterSpacing = pixels;
    ApplyText();
}

void TNativeLabel::SetAlignment(TTextAlign align)
{
    FAlign = align;
    ApplyText();
}

void TNativeLabel::SetWordWrap(bool wrap)
{
    auto* label = GTK_LABEL(Widget().Widget);
    gtk_label_set_line_wrap(label, wrap ? TRUE : FALSE);
    gtk_label_set_line_wrap_mode(label, PANGO_WRAP_WORD);
    gtk_label_set_ellipsize(label, wrap ? PANGO_ELLIPSIZE_NONE : PANGO_ELLIPSIZE_END);
}

void TNativeLabel::ApplyText()
{
    auto* label = GTK_LABEL(Widget().Widget);
    ApplyLabelFont(label, FFont, FLetterSpacing);
    const float x = FAlign == TTextAlign::Left ? 0.0F : FAlign == TTextAlign::Centre ? 0.5F : 1.0F;
    gtk_label_set_xalign(label, x);
    gtk_label_set_justify(label,
        FAlign == TTextAlign::Left         ? GTK_JUSTIFY_LEFT
            : FAlign == TTextAlign::Centre ? GTK_JUSTIFY_CENTER
                                           : GTK_JUSTIFY_RIGHT);
}

bool TNativeLabel::TextClipped() const
{
    auto* label = GTK_LABEL(Widget().Widget);
    PangoLayout* layout = gtk_label_get_layout(label);
    int width = 0;
    int height = 0;
    pango_layout_get_pixel_size(layout, &width, &height);
    const TRect placed = PlacedRect();
    return pango_layout_is_ellipsized(layout) || width > RectWidth(placed)
        || height > RectHeight(placed);
}

TNativeButton::TNativeButton(TNativeHost& host)
    : TNativeControl(host, std::make_unique<TNativeWidget>(gtk_button_new_with_label("")))
{
    g_signal_connect(Widget().Widget, "clicked", G_CALLBACK(ClickedSignal), this);
}

std::string TNativeButton::Caption() const
{
    return gtk_label_get_text(ButtonLabel(*this));
}

void TNativeButton::SetCaption(const std::string& caption)
{
    gtk_label_set_text(ButtonLabel(*this), caption.c_str());
}

void TNativeButton::SetFont(const TFont& font)
{
    ApplyLabelFont(ButtonLabel(*this), font);
}

void TNativeButton::SetDefault(bool isDefault)
{
    GtkWidget* button = Widget().Widget;
    gtk_widget_set_can_default(button, TRUE);
    GtkWidget* top = gtk_widget_get_toplevel(button);
    if (GTK_IS_WINDOW(top))
        gtk_window_set_default(GTK_WINDOW(top), isDefault ? button : nullptr);
}

bool TNativeButton::Default() const
{
    return gtk_widget_has_default(Widget().Widget) != FALSE;
}

TNativeCheckBox::TNativeCheckBox(TNativeHost& host)
    : TNativeControl(host, std::make_unique<TNativeWidget>(gtk_check_button_new_with_label("")))
{
    // Enter goes to the default button while the focus is on the box.
    gtk_widget_set_receives_default(Widget().Widget, FALSE);
    g_signal_connect(Widget().Widget, "toggled", G_CALLBACK(ClickedSignal), this);
}

std::string TNativeCheckBox::Caption() const
{
    return gtk_label_get_text(ButtonLabel(*this));
}

void TNativeCheckBox::SetCaption(const std::string& caption)
{
    gtk_label_set_text(ButtonLabel(*this), caption.c_str());
}

void TNativeCheckBox::SetFont(const TFont& font)
{
    ApplyLabelFont(ButtonLabel(*this), font);
}

bool TNativeCheckBox::Checked() const
{
    return gtk_toggle_button_get_active(GTK_TOGGLE_BUTTON(Widget().Widget)) != FALSE;
}

void TNativeCheckBox::SetChecked(bool checked)
{
    gtk_toggle_button_set_active(GTK_TOGGLE_BUTTON(Widget().Widget), checked ? TRUE : FALSE);
}
