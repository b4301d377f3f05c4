#pragma once

#include <exception>
#include <functional>
#include <stdexcept>
#include <string>
#include <utility>

enum class TMessageBoxKind : uint8_t {
    Error, // an error sign and OK
    Warning, // a warning sign, Yes and No
    Plain, // no sign and OK
};

enum class TMessageBoxAnswer : uint8_t { Ok, Yes, No };

struct TMessageBoxRequest {
    TMessageBoxKind Kind = TMessageBoxKind::Plain;
    std::string Caption;
    std::string Text;
};

// Shows a modal message box (captioned with the application's title when Caption is empty) and
// returns the button pressed; closing a warning box counts as No.
TMessageBoxAnswer MessageBox(TMessageBoxRequest request);
void ShowErrorBox(const std::string& text);
void ShowMessageBox(const std::string& text);

// Replaces the way message boxes are shown (tests answer them without a window); an empty hook
// restores the dialogs. Returns the hook that was in place.
using TMessageBoxHook = std::function<TMessageBoxAnswer(const TMessageBoxRequest&)>;
TMessageBoxHook SetMessageBoxHook(TMessageBoxHook hook);

// The application's standard report of an error that reached the event loop: an error box with
// the message.
void ShowException(const std::exception& error);

// Runs a handler that the window system calls: no error goes back into the toolkit's C code;
// each is reported with ShowException and the program goes on.
template <typename F> void RunGuarded(F&& handler) noexcept
{
    try {
        std::forward<F>(handler)();
    } catch (const std::exception& error) {
        ShowException(error);
    } catch (...) {
        ShowException(std::runtime_error("An unexpected error occurred."));
    }
}
