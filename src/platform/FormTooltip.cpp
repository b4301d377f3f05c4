#include "platform/FormTooltip.h"

#include "platform/GtkGlue.h"
#include "platform/MessageBox.h"

#include <memory>

namespace {

constexpr const char* SourceKey = "pathwarden-tooltip-source";

void DeleteSource(gpointer data)
{
    std::unique_ptr<TTooltipSource> owned(static_cast<TTooltipSource*>(data));
}

gboolean OnQueryTooltip(GtkWidget* widget, gint x, gint y, gboolean, GtkTooltip* tooltip, gpointer)
{
    auto* source = static_cast<TTooltipSource*>(g_object_get_data(G_OBJECT(widget), SourceKey));
    if (source == nullptr || !*source)
        return FALSE;
    std::string text;
    const int32_t zoom = AreaZoom(widget);
    RunGuarded([&] { text = (*source)(x / zoom, y / zoom); });
    if (text.empty())
        return FALSE;
    gtk_tooltip_set_text(tooltip, text.c_str());
    return TRUE;
}

} // namespace

void SetFormTooltip(TForm& form, TTooltipSource source)
{
    GtkWidget* area = form.Window().Area;
    g_signal_handlers_disconnect_by_func(area, reinterpret_cast<gpointer>(OnQueryTooltip), nullptr);
    if (!source) {
        g_object_set_data(G_OBJECT(area), SourceKey, nullptr);
        gtk_widget_set_has_tooltip(area, FALSE);
        return;
    }
    auto owned = std::make_unique<TTooltipSource>(std::move(source));
    g_object_set_data_full(G_OBJECT(area), SourceKey, owned.release(), DeleteSource);
    g_signal_connect(area, "query-tooltip", G_CALLBACK(OnQueryTooltip), nullptr);
    gtk_widget_set_has_tooltip(area, TRUE);
}

std::string FormTooltipAt(TForm& form, int32_t x, int32_t y)
{
    auto* source
        = static_cast<TTooltipSource*>(g_object_get_data(G_OBJECT(form.Window().Area), SourceKey));
    return source != nullptr && *source ? (*source)(x, y) : std::string();
}
