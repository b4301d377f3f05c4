#include "platform/MessageBox.h"

#include "platform/Application.h"
#include "platform/Form.h"
#include "platform/GtkGlue.h"

#include <cstdio>

namespace {

TMessageBoxHook& Hook()
{
    static TMessageBoxHook hook;
    return hook;
}

GtkWindow* ActiveWindow()
{
    for (TForm* form : Application().Forms())
        if (form->Active())
            return GTK_WINDOW(form->Window().Window);
    TForm* main = Application().MainForm();
    return main != nullptr && main->Visible() ? GTK_WINDOW(main->Window().Window) : nullptr;
}

TMessageBoxAnswer RunDialog(const TMessageBoxRequest& request)
{
    const bool warning = request.Kind == TMessageBoxKind::Warning;
    const GtkMessageType type = request.Kind == TMessageBoxKind::Error ? GTK_MESSAGE_ERROR
        : warning                                                      ? GTK_MESSAGE_WARNING
                                                                       : GTK_MESSAGE_OTHER;
    GtkWidget* dialog = gtk_message_dialog_new(ActiveWindow(), GTK_DIALOG_MODAL, type,
        warning ? GTK_BUTTONS_YES_NO : GTK_BUTTONS_OK, "%s", request.Text.c_str());
    gtk_window_set_title(GTK_WINDOW(dialog), request.Caption.c_str());
    if (SeatPointer(gtk_widget_get_display(dialog)) != nullptr)
        gtk_window_set_position(GTK_WINDOW(dialog), GTK_WIN_POS_CENTER);
    const gint response = gtk_dialog_run(GTK_DIALOG(dialog));
    gtk_widget_destroy(dialog);
    if (!warning)
        return TMessageBoxAnswer::Ok;
    return response == GTK_RESPONSE_YES ? TMessageBoxAnswer::Yes : TMessageBoxAnswer::No;
}

} // namespace

TMessageBoxAnswer MessageBox(TMessageBoxRequest request)
{
    if (request.Caption.empty())
        request.Caption = Application().Title;
    if (Hook())
        return Hook()(request);
    if (!Application().ToolkitRunning() && !Application().Initialize(0, nullptr)) {
        // Without a display the message still reaches the user.
        std::fprintf(stderr, "%s: %s\n", request.Caption.c_str(), request.Text.c_str());
        return request.Kind == TMessageBoxKind::Warning ? TMessageBoxAnswer::No
                                                        : TMessageBoxAnswer::Ok;
    }
    return RunDialog(request);
}

void ShowErrorBox(const std::string& text)
{
    MessageBox({TMessageBoxKind::Error, "", text});
}

void ShowMessageBox(const std::string& text)
{
    MessageBox({TMessageBoxKind::Plain, "", text});
}

TMessageBoxHook SetMessageBoxHook(TMessageBoxHook hook)
{
    TMessageBoxHook previous = std::move(Hook());
    Hook() = std::move(hook);
    return previous;
}

void ShowException(const std::exception& error)
{
    try {
        ShowErrorBox(error.what());
    } catch (...) {
        std::fprintf(stderr, "%s\n", error.what());
    }
}
