#pragma once

// The toolkit's side of the native controls; included only by the layer's own sources.

#include "platform/NativeControls.h"

#include <gtk/gtk.h>

// Holds one reference to the widget and destroys it, which takes it out of its container; a
// widget that its container owns is only named.
struct TNativeWidget {
    enum TOwnership : bool { Named, Owned };
    explicit TNativeWidget(GtkWidget* widget, TOwnership ownership = Owned)
        : Widget(ownership == Owned ? GTK_WIDGET(g_object_ref_sink(widget)) : widget)
        , Ownership(ownership)
    {
    }
    ~TNativeWidget()
    {
        if (Ownership == Owned) {
            gtk_widget_destroy(Widget);
            g_object_unref(Widget);
        }
    }
    TNativeWidget(const TNativeWidget&) = delete;
    TNativeWidget& operator=(const TNativeWidget&) = delete;

    GtkWidget* Widget;
    TOwnership Ownership;
};

// Font, colour, underline and the extra room between letters (pixels, negative to tighten) of a
// label's text as Pango attributes, the height in pixels.
void ApplyLabelFont(GtkLabel* label, const TFont& font, double letterSpacing = 0);

// A fixed container that places each child exactly at its position with its size request and
// asks for exactly its own size request.
GtkWidget* NewExactFixed();

// A bin that shows its one child at a whole-number zoom, each pixel a zoom x zoom block, and
// hands the child the pointer at the child's own scale.
GtkWidget* NewZoomBin();
void SetZoomBinZoom(GtkWidget* bin, int32_t zoom);
