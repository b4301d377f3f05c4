#pragma once

#include "platform/Application.h"
#include "platform/MessageBox.h"

#include <chrono>
#include <thread>
#include <vector>

// Answers every message box while it lives, records what each said, and restores the dialogs.
class TMessageBoxRecorder {
public:
    explicit TMessageBoxRecorder(TMessageBoxAnswer answer = TMessageBoxAnswer::Ok)
    {
        Previous = SetMessageBoxHook([this, answer](const TMessageBoxRequest& request) {
            Requests.push_back(request);
            return request.Kind == TMessageBoxKind::Warning ? answer : TMessageBoxAnswer::Ok;
        });
    }
    ~TMessageBoxRecorder() { SetMessageBoxHook(Previous); }
    TMessageBoxRecorder(const TMessageBoxRecorder&) = delete;
    TMessageBoxRecorder& operator=(const TMessageBoxRecorder&) = delete;

    std::vector<TMessageBoxRequest> Requests;

private:
    TMessageBoxHook Previous;
};

// Handles the pending messages until done() holds or about a second has passed.
template <typename F> bool ProcessMessagesUntil(F done)
{
    for (int i = 0; i < 200 && !done(); ++i) {
        Application().ProcessMessages();
        if (!done())
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return done();
}
