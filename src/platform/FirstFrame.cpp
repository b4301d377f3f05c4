#include "platform/FirstFrame.h"

#include "platform/GtkGlue.h"
#include "platform/MessageBox.h"

#include <gtk/gtk.h>

#include <utility>

struct TFirstFrameSignals {
    // After the window's first draw handler: the frame goes to the screen when this returns, so
    // the action waits for an idle moment of lower priority than drawing.
    static gboolean Drawn(GtkWidget* window, cairo_t*, gpointer data)
    {
        auto* self = static_cast<TAfterFirstFrame*>(data);
        g_signal_handler_disconnect(window, self->FDrawHandler);
        self->FDrawHandler = 0;
        self->FIdleSource = self->FSettleMs == 0
            ? g_idle_add_full(G_PRIORITY_LOW, Idle, self, nullptr)
            : g_timeout_add_full(G_PRIORITY_LOW, self->FSettleMs, Idle, self, nullptr);
        return FALSE;
    }

    static gboolean Idle(gpointer data)
    {
        auto* self = static_cast<TAfterFirstFrame*>(data);
        self->FIdleSource = 0;
        RunGuarded(self->FAction);
        return G_SOURCE_REMOVE;
    }
};

TAfterFirstFrame::TAfterFirstFrame(TForm& form, std::function<void()> action, unsigned settleMs)
    : FForm(form)
    , FAction(std::move(action))
    , FSettleMs(settleMs)
{
    FDrawHandler = g_signal_connect_after(
        form.Window().Window, "draw", G_CALLBACK(TFirstFrameSignals::Drawn), this);
}

TAfterFirstFrame::~TAfterFirstFrame()
{
    if (FDrawHandler != 0)
        g_signal_handler_disconnect(FForm.Window().Window, FDrawHandler);
    if (FIdleSource != 0)
        g_source_remove(FIdleSource);
}
