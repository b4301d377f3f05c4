#pragma once

#include <gtk/gtk.h>

#include <string>
#include <vector>

// The accessible area of the window titled "Pathwarden" and every announcement it makes, once
// attached to the window.
class TWindowAnnouncements {
public:
    TWindowAnnouncements() = default;
    void Attach()
    {
        GList* windows = gtk_window_list_toplevels();
        for (GList* w = windows; w != nullptr; w = w->next)
            if (g_strcmp0(gtk_window_get_title(GTK_WINDOW(w->data)), "Pathwarden") == 0)
                Area = atk_object_ref_accessible_child(
                    gtk_widget_get_accessible(GTK_WIDGET(w->data)), 0);
        g_list_free(windows);
        if (Area != nullptr)
            g_signal_connect(Area, "announcement",
                G_CALLBACK(+[](AtkObject*, gchar* text, gpointer data) {
                    static_cast<std::vector<std::string>*>(data)->push_back(text);
                }),
                &Announced);
    }
    ~TWindowAnnouncements()
    {
        if (Area == nullptr)
            return;
        g_signal_handlers_disconnect_by_data(Area, &Announced);
        g_object_unref(Area);
    }
    TWindowAnnouncements(const TWindowAnnouncements&) = delete;
    TWindowAnnouncements& operator=(const TWindowAnnouncements&) = delete;

    AtkObject* Area = nullptr;
    std::vector<std::string> Announced;
};
