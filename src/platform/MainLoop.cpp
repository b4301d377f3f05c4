#include "platform/MainLoop.h"

#include "platform/MessageBox.h"

#include <glib.h>

#include <memory>

void RunOnMainLoop(std::function<void()> job)
{
    auto held = std::make_unique<std::function<void()>>(std::move(job));
    g_idle_add_full(
        G_PRIORITY_DEFAULT,
        [](gpointer data) -> gboolean {
            RunGuarded([data] { (*static_cast<std::function<void()>*>(data))(); });
            return G_SOURCE_REMOVE;
        },
        held.release(), [](gpointer data) { delete static_cast<std::function<void()>*>(data); });
}
