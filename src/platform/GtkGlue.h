#pragma once

// The toolkit's side of the platform layer; included only by the layer's own sources.

#include "platform/Cursors.h"
#include "platform/Form.h"

#include <gtk/gtk.h>

#include <memory>

struct TGObjectUnref {
    void operator()(void* object) const
    {
        if (object != nullptr)
            g_object_unref(object);
    }
};
template <typename T> using TGObjectPtr = std::unique_ptr<T, TGObjectUnref>;

struct TForm::TWindow {
    GtkWidget* Window = nullptr;
    GtkWidget* Area = nullptr;
    guint PaintSource = 0;
    bool Centred = false;
};

// A drawing area for a form's client area, whose accessible answers for the form's items.
GtkWidget* NewFormArea();
// Connects the toolkit's signals of the form's window to the form.
void ConnectFormSignals(TForm& form);
// The zoom of the form whose drawing area this is; 1 for any other widget.
int32_t AreaZoom(GtkWidget* area);
// The toolkit cursor for a cursor number; none for crDefault and unknown numbers.
GdkCursor* ToolkitCursor(TCursor cursor);
// The display's keyboard and pointer; none where it has no seat (a headless compositor), which the
// toolkit's own calls would complain of.
GdkDevice* SeatKeyboard(GdkDisplay* display);
GdkDevice* SeatPointer(GdkDisplay* display);
