#pragma once

#include <functional>
#include <memory>

// The signals that ask the program to end (SIGTERM, SIGHUP, SIGINT), taken on the message loop
// while this object lives: each calls the handler there, between events, instead of ending the
// process where it stands. They end the process again once it goes.
class TEndSignals {
public:
    explicit TEndSignals(std::function<void()> handler);
    TEndSignals(const TEndSignals&) = delete;
    TEndSignals& operator=(const TEndSignals&) = delete;
    ~TEndSignals();

private:
    struct TSources;
    std::unique_ptr<TSources> FSources;
};
