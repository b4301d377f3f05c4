#include "platform/Application.h"

#include "common/KelException.h"
#include "platform/Form.h"
#include "platform/GtkGlue.h"
#include "platform/MessageBox.h"

#include <algorithm>
#include <chrono>
#include <memory>
#include <thread>

namespace {

constexpr uint32_t FirstRegisteredMessage = 0xC000;

// Every event of the window system passes the application's message hook first.
void DispatchEvent(GdkEvent* event, gpointer)
{
    bool handled = false;
    TApplication& app = Application();
    if (app.OnMessage) {
        const TMessage message {TMessage::ToolkitEvent};
        RunGuarded([&] { app.OnMessage(message, handled); });
    }
    if (!handled)
        gtk_main_do_event(event);
}

gboolean DeliverPosted(gpointer data)
{
    const auto* message = static_cast<const TMessage*>(data);
    TApplication& app = Application();
    if (app.OnMessage) {
        bool handled = false;
        RunGuarded([&] { app.OnMessage(*message, handled); });
    }
    return G_SOURCE_REMOVE;
}

void FreePosted(gpointer data)
{
    delete static_cast<TMessage*>(data);
}

struct TModalLoop {
    TForm* Form;
    GMainLoop* Loop;
};
std::vector<TModalLoop> ModalLoops;

} // namespace

TApplication& Application()
{
    static TApplication app;
    return app;
}

void TApplication::SetArguments(int argc, char** argv)
{
    Args.assign(argv, argv + std::max(argc, 0));
}

bool TApplication::Initialize(int argc, char** argv)
{
    SetArguments(argc, argv);
    for (const char* name : {"XDG_ACTIVATION_TOKEN", "DESKTOP_STARTUP_ID"}) {
        const char* token = g_getenv(name);
        if (token != nullptr && *token != '\0') {
            StartupToken = token;
            break;
        }
    }
    // The modifiers of key bindings as the toolkit would read them from the keyboard, which a
    // display without one (a headless compositor's) cannot answer without a critical warning.
    gtk_accelerator_set_default_mod_mask(
        static_cast<GdkModifierType>(GDK_SUPER_MASK | GDK_HYPER_MASK | GDK_META_MASK));
    // A display that is still starting (a test server, a session coming up) refuses the first
    // connection now and then: try a few times before giving up.
    for (int attempt = 0; attempt < 4 && !Running; ++attempt) {
        if (attempt > 0)
            std::this_thread::sleep_for(std::chrono::milliseconds(150));
        Running = gtk_init_check(nullptr, nullptr) != FALSE;
    }
    if (Running)
        gdk_event_handler_set(DispatchEvent, nullptr, nullptr);
    return Running;
}

void TApplication::EnsureToolkit()
{
    if (!Running && !Initialize(0, nullptr))
        throw KelException("The window system cannot be reached: no display is available.");
}

void TApplication::Run(TForm& mainForm)
{
    Main = &mainForm;
    mainForm.Show();
    if (mainForm.Visible()) {
        ++LoopDepth;
        gtk_main();
        --LoopDepth;
    }
}

void TApplication::Terminate()
{
    if (LoopDepth > 0)
        gtk_main_quit();
}

void TApplication::ProcessMessages()
{
    while (g_main_context_iteration(nullptr, FALSE)) { }
}

uint32_t TApplication::RegisterWindowMessage(std::string_view name)
{
    auto found = std::find(MessageNames.begin(), MessageNames.end(), name);
    if (found == MessageNames.end())
        found = MessageNames.emplace(MessageNames.end(), name);
    return FirstRegisteredMessage + static_cast<uint32_t>(found - MessageNames.begin());
}

void TApplication::PostMessage(const TMessage& message)
{
    auto copy = std::make_unique<TMessage>(message);
    g_idle_add_full(G_PRIORITY_DEFAULT, DeliverPosted, copy.release(), FreePosted);
}

int TApplication::ShowModal(TForm& form)
{
    form.ModalResult = 0;
    GtkWindow* window = GTK_WINDOW(form.Window().Window);
    if (Main != nullptr && Main != &form)
        gtk_window_set_transient_for(window, GTK_WINDOW(Main->Window().Window));
    gtk_window_set_modal(window, TRUE);
    form.Show();
    GMainLoop* loop = g_main_loop_new(nullptr, FALSE);
    ModalLoops.push_back({&form, loop});
    if (form.Visible())
        g_main_loop_run(loop);
    std::erase_if(ModalLoops, [&](const TModalLoop& m) { return m.Loop == loop; });
    g_main_loop_unref(loop);
    gtk_window_set_modal(window, FALSE);
    return form.ModalResult;
}

void TApplication::AddForm(TForm* form)
{
    FormList.push_back(form);
}

void TApplication::RemoveForm(TForm* form)
{
    std::erase(FormList, form);
    if (Main == form)
        Main = nullptr;
}

void TApplication::FormActivated(TForm&)
{
    if (Active)
        return;
    Active = true;
    if (OnActivate)
        RunGuarded(OnActivate);
}

void TApplication::FormDeactivated()
{
    // Focus moving between two of our windows leaves one before it enters the other: look again
    // once the toolkit has settled.
    static bool checkQueued = false;
    if (!checkQueued) {
        checkQueued = true;
        g_idle_add(
            [](gpointer) -> gboolean {
                checkQueued = false;
                TApplication& app = Application();
                app.Active = std::any_of(app.FormList.begin(), app.FormList.end(),
                    [](const TForm* f) { return f->Active(); });
                return G_SOURCE_REMOVE;
            },
            nullptr);
    }
}

void TApplication::FormHidden(TForm& form)
{
    for (const TModalLoop& modal : ModalLoops)
        if (modal.Form == &form)
            g_main_loop_quit(modal.Loop);
    if (&form == Main)
        Terminate();
}
