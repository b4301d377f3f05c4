#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

class TForm;

// A message taken from the application's queue. Messages posted with PostMessage carry their own
// number; every event of the window system passes the hook as ToolkitEvent.
struct TMessage {
    static constexpr uint32_t ToolkitEvent = 0;
    uint32_t Msg = 0;
};

// The application: its title, the toolkit's start, the message loop and the application-wide
// hooks. One per process, reached through Application().
class TApplication {
public:
    // Starts the toolkit with the program's arguments (which stay readable in Arguments());
    // false when no display can be opened.
    bool Initialize(int argc, char** argv);
    // Keeps the program's arguments (argument 0 is the program) without starting the toolkit.
    void SetArguments(int argc, char** argv);
    // Starts the toolkit without arguments when it is not running yet; raises KelException when
    // no display can be opened.
    void EnsureToolkit();
    bool ToolkitRunning() const { return Running; }
    const std::vector<std::string>& Arguments() const { return Args; }
    // The desktop's startup or activation token of this start (XDG_ACTIVATION_TOKEN, else
    // DESKTOP_STARTUP_ID), kept by Initialize before the toolkit takes it from the environment;
    // empty without one.
    const std::string& StartupId() const { return StartupToken; }

    std::string Title;

    // Shows the main form and runs the message loop until it closes or Terminate is called.
    void Run(TForm& mainForm);
    void Terminate();
    TForm* MainForm() const { return Main; }
    // Handles the pending messages once, without waiting.
    void ProcessMessages();

    // A message number for the name, the same for every request of the name: 0xC000 to 0xFFFF.
    uint32_t RegisterWindowMessage(std::string_view name);
    // Queues a message; the loop hands it to OnMessage.
    void PostMessage(const TMessage& message);
    // Called for every message the loop takes; a handler that sets handled stops a toolkit event
    // from being dispatched further.
    std::function<void(const TMessage&, bool& handled)> OnMessage;
    // Called when one of the application's windows becomes active while none of them was.
    std::function<void()> OnActivate;

    // Runs the form modally: shows it above the active window and handles messages until it
    // hides.
    int ShowModal(TForm& form);

    // Bookkeeping of the forms, kept by TForm.
    void AddForm(TForm* form);
    void RemoveForm(TForm* form);
    const std::vector<TForm*>& Forms() const { return FormList; }
    void FormActivated(TForm& form);
    void FormDeactivated();
    void FormHidden(TForm& form);

private:
    bool Running = false;
    bool Active = false;
    std::vector<std::string> Args;
    std::string StartupToken;
    TForm* Main = nullptr;
    std::vector<TForm*> FormList;
    std::vector<std::string> MessageNames;
    int LoopDepth = 0;
};

TApplication& Application();
