#include "platform/Screen.h"

#include "platform/Application.h"
#include "platform/Form.h"
#include "platform/GtkGlue.h"
#include "platform/HandCursors.h"
#include "platform/X11State.h"

#include <map>
#include <optional>
#include <string>

namespace {

TCursor CurrentScreenCursor = crDefault;
std::optional<bool> CapsLockOverride;

// A slot of the cursor table. A loaded picture becomes a toolkit cursor only when a window first
// shows it: making one costs a round of requests to the display that the start-up need not wait
// for.
struct TCursorSlot {
    const THandCursorPicture* Picture = nullptr;
    TGObjectPtr<GdkCursor> Made;
};

std::map<TCursor, TCursorSlot>& CursorTable()
{
    static std::map<TCursor, TCursorSlot> table;
    return table;
}

TGObjectPtr<GdkPixbuf> PictureToPixbuf(const THandCursorPicture& picture)
{
    TGObjectPtr<GdkPixbuf> pixbuf(gdk_pixbuf_new(GDK_COLORSPACE_RGB, TRUE, 8, 32, 32));
    if (!pixbuf)
        return pixbuf;
    guchar* rows = gdk_pixbuf_get_pixels(pixbuf.get());
    const int stride = gdk_pixbuf_get_rowstride(pixbuf.get());
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) {
            const char c = picture.Rows[static_cast<size_t>(y)][x];
            guchar* out = rows + y * stride + x * 4;
            const guchar level = c == 'o' ? 255 : 0;
            out[0] = out[1] = out[2] = level;
            out[3] = c == '.' ? 0 : 255;
        }
    return pixbuf;
}

TGObjectPtr<GdkCursor> MakePictureCursor(const THandCursorPicture& picture)
{
    GdkDisplay* display = gdk_display_get_default();
    const TGObjectPtr<GdkPixbuf> pixbuf = PictureToPixbuf(picture);
    if (display == nullptr || !pixbuf)
        return nullptr;
    return TGObjectPtr<GdkCursor>(
        gdk_cursor_new_from_pixbuf(display, pixbuf.get(), picture.HotX, picture.HotY));
}

void RefreshAllCursors()
{
    for (TForm* form : Application().Forms())
        form->RefreshCursor();
}

} // namespace

GdkCursor* ToolkitCursor(TCursor cursor)
{
    if (cursor > 0) {
        const auto found = CursorTable().find(cursor);
        if (found == CursorTable().end())
            return nullptr;
        TCursorSlot& slot = found->second;
        if (!slot.Made && slot.Picture != nullptr) {
            slot.Made = MakePictureCursor(*slot.Picture);
            // A picture the toolkit cannot make into a cursor is not tried again.
            slot.Picture = nullptr;
        }
        return slot.Made.get();
    }
    const char* name = cursor == crArrow ? "default"
        : cursor == crHourGlass          ? "wait"
        : cursor == crHandPoint          ? "pointer"
                                         : nullptr;
    if (name == nullptr)
        return nullptr;
    // Theme cursors are kept once made.
    auto& cached = CursorTable()[cursor].Made;
    if (!cached && gdk_display_get_default() != nullptr)
        cached.reset(gdk_cursor_new_from_name(gdk_display_get_default(), name));
    return cached.get();
}

TCursor ScreenCursor()
{
    return CurrentScreenCursor;
}

void SetScreenCursor(TCursor cursor)
{
    if (cursor == CurrentScreenCursor)
        return;
    CurrentScreenCursor = cursor;
    RefreshAllCursors();
    // The change shows at once, also when the caller keeps the loop busy.
    if (GdkDisplay* display = gdk_display_get_default())
        gdk_display_flush(display);
}

bool LoadCursorResource(TCursor index, int resourceId)
{
    const THandCursorPicture* picture = FindCursorPicture(resourceId);
    if (index <= 0 || picture == nullptr || gdk_display_get_default() == nullptr)
        return false;
    CursorTable()[index] = {picture, nullptr};
    RefreshAllCursors();
    return true;
}

TBusyCursor::TBusyCursor()
    : Previous(ScreenCursor())
{
    SetScreenCursor(crHourGlass);
}

TBusyCursor::~TBusyCursor()
{
    SetScreenCursor(Previous);
}

GdkDevice* SeatKeyboard(GdkDisplay* display)
{
    GdkSeat* seat = display != nullptr ? gdk_display_get_default_seat(display) : nullptr;
    return seat != nullptr ? gdk_seat_get_keyboard(seat) : nullptr;
}

GdkDevice* SeatPointer(GdkDisplay* display)
{
    GdkSeat* seat = display != nullptr ? gdk_display_get_default_seat(display) : nullptr;
    return seat != nullptr ? gdk_seat_get_pointer(seat) : nullptr;
}

bool CapsLockOn()
{
    if (CapsLockOverride)
        return *CapsLockOverride;
    GdkDisplay* display = gdk_display_get_default();
    if (display == nullptr)
        return false;
    if (const std::optional<bool> on = X11CapsLockOn(display))
        return *on;
    if (SeatKeyboard(display) == nullptr)
        return false;
    return gdk_keymap_get_caps_lock_state(gdk_keymap_get_for_display(display)) != FALSE;
}

void OverrideCapsLock(std::optional<bool> on)
{
    CapsLockOverride = on;
}

int32_t DisplayBitsPerPixel()
{
    GdkScreen* screen = gdk_screen_get_default();
    return screen != nullptr ? gdk_visual_get_depth(gdk_screen_get_system_visual(screen)) : 0;
}

int32_t DisplayPlanes()
{
    return 1;
}
