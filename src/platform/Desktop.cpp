#include "platform/Desktop.h"

#include <gio/gio.h>
#include <gtk/gtk.h>

#include <memory>

namespace {

struct TGFree {
    void operator()(gchar* p) const { g_free(p); }
};
struct TErrorFree {
    void operator()(GError* e) const { g_error_free(e); }
};

} // namespace

bool OpenFileWithDefaultHandler(const std::string& path)
{
    if (!g_file_test(path.c_str(), G_FILE_TEST_EXISTS))
        return false;
    GError* raw = nullptr;
    const std::unique_ptr<gchar, TGFree> uri(g_filename_to_uri(path.c_str(), nullptr, &raw));
    std::unique_ptr<GError, TErrorFree> error(raw);
    if (!uri)
        return false;
    raw = nullptr;
    const gboolean opened = g_app_info_launch_default_for_uri(uri.get(), nullptr, &raw);
    error.reset(raw);
    return opened != FALSE;
}

bool DesktopAnimationsEnabled()
{
    GtkSettings* settings = gtk_settings_get_default();
    if (settings == nullptr)
        return true;
    gboolean enabled = TRUE;
    g_object_get(settings, "gtk-enable-animations", &enabled, nullptr);
    return enabled != FALSE;
}

void SetDesktopAnimationsEnabled(bool enabled)
{
    if (GtkSettings* settings = gtk_settings_get_default())
        g_object_set(settings, "gtk-enable-animations", enabled ? TRUE : FALSE, nullptr);
}
