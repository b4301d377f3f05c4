#pragma once

#include "platform/UniqueFd.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

// One running game per user. The instance lock is an exclusive flock on a lock file in the user's
// private runtime folder, held while this object lives (or until Release) and freed by the system
// when the process ends, however it ends. The lock holder also binds a datagram socket named
// after the instance message beside it; a later start posts the message there and ends. Where
// that path is too long for a socket address, both reach it through a handle on the folder, so
// that no name outside the private folder is ever used. The message may carry the later start's
// startup or activation token, after a line feed, so that the running instance can take the
// focus the desktop granted to that start.
//
// Nothing found in the folder is trusted blindly: a lock file or socket that is not ours (a link,
// another kind of file, another owner) is replaced or left unused, and the game still starts.
class TSingleInstance {
public:
    // Receives the message's identifier and the token that came with it, or an empty one.
    using THandler = std::function<void(uint16_t message, const std::string& startupId)>;

    // Opens or creates the lock file lockName in folder and takes the lock without waiting. With
    // an empty folder, or when no lock file can be made safe, the instance runs unguarded and
    // counts as the only one.
    TSingleInstance(std::string folder, const std::string& lockName, std::string messageName);
    ~TSingleInstance();
    TSingleInstance(const TSingleInstance&) = delete;
    TSingleInstance& operator=(const TSingleInstance&) = delete;

    // True when another process holds the lock.
    bool AlreadyExists() const { return FAlreadyExists; }
    // False when the instance runs without a lock.
    bool Guarded() const { return FLock.Valid(); }

    // For a later start: posts the message, with startupId when that is a valid token, to the
    // running instance without waiting for it to be read. A running instance that started at
    // the same moment may not have bound its socket yet, so this retries for a moment. False
    // when the message could not be posted.
    bool PostToRunning(const std::string& startupId = {}) const;

    // For a later start whose message could not be posted: takes the lock when it has come free
    // (the running instance ended meanwhile) and becomes the running instance. While another
    // process still holds it, AlreadyExists stays true: a second game must not run beside it.
    void TakeOver();

    // For the running instance that is about to end: stops reading messages, removes its socket
    // and frees the lock, so that a start made from now on becomes the running instance.
    void Release();

    // For the running instance: from now on each message that arrives is handed to handler, with
    // the identifier given here, from the thread's default GLib main loop. Messages posted before
    // this call wait in the socket until then. The handler must not throw: what it throws is
    // reported on standard error and goes no further.
    void Watch(uint16_t message, THandler handler);

    // Whether text may pass between starts as a startup or activation token: 1 to 200 printable
    // ASCII characters. A token that is not one is neither sent nor taken.
    static bool ValidStartupId(std::string_view text);

private:
    void TakeLock(const std::string& lockPath);
    void BindSocket();
    void ReadMessages() const;
    bool ParseMessage(std::string_view datagram, std::string& startupId) const;
    friend struct TInstanceWatch;

    std::string FFolder;
    std::string FLockPath;
    std::string FSocketPath;
    std::string FMessageName;
    TUniqueFd FLock;
    TUniqueFd FSocket;
    bool FAlreadyExists = false;
    unsigned FSourceId = 0;
    uint16_t FMessage = 0;
    THandler FHandler;
};
