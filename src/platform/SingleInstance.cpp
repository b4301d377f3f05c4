#include "platform/SingleInstance.h"

#include <glib-unix.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <exception>
#include <iostream>
#include <thread>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>

namespace {

// A later start gives a running instance that started at the same moment this long to bind.
constexpr int PostAttempts = 25;
constexpr auto PostPause = std::chrono::milliseconds(20);
// Anything longer than the message and a token is not one of ours.
constexpr std::size_t DatagramLimit = 256;
constexpr std::size_t StartupIdLimit = 200;
// Between the message text and the token.
constexpr char TokenSeparator = '\n';

bool Ours(const struct stat& info)
{
    return info.st_uid == geteuid();
}

bool SameFile(const struct stat& a, const struct stat& b)
{
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// A socket's address and what keeps it valid. A path too long for an address is reached through
// the process's own handle on its folder, so the socket still lies in that folder.
struct TSocketAddress {
    sockaddr_un Address {};
    TUniqueFd Folder;
};

bool SocketAddress(const std::string& folder, const std::string& name, TSocketAddress& socket)
{
    socket.Address = {};
    socket.Address.sun_family = AF_UNIX;
    std::string path = folder + name;
    if (path.size() >= sizeof(socket.Address.sun_path)) {
        socket.Folder.Reset(open(folder.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC));
        if (!socket.Folder.Valid())
            return false;
        path = "/proc/self/fd/" + std::to_string(socket.Folder.Get()) + "/" + name;
        if (path.size() >= sizeof(socket.Address.sun_path))
            return false;
    }
    std::memcpy(socket.Address.sun_path, path.c_str(), path.size() + 1);
    return true;
}

} // namespace

TSingleInstance::TSingleInstance(
    std::string folder, const std::string& lockName, std::string messageName)
    : FMessageName(std::move(messageName))
{
    if (folder.empty())
        return;
    if (folder.back() != '/')
        folder += '/';
    FFolder = folder;
    FSocketPath = folder + FMessageName;
    FLockPath = folder + lockName;
    TakeLock(FLockPath);
    if (Guarded() && !FAlreadyExists)
        BindSocket();
}

TSingleInstance::~TSingleInstance()
{
    Release();
}

void TSingleInstance::TakeOver()
{
    if (!FAlreadyExists)
        return;
    FAlreadyExists = false;
    FLock.Reset();
    TakeLock(FLockPath);
    if (Guarded() && !FAlreadyExists)
        BindSocket();
}

void TSingleInstance::Release()
{
    if (FSourceId != 0)
        g_source_remove(FSourceId);
    FSourceId = 0;
    // Still holding the lock, so the socket at the path is the one this instance bound.
    if (FSocket.Valid())
        unlink(FSocketPath.c_str());
    FSocket.Reset();
    FLock.Reset();
}

// Two starts at the same moment both open the same lock file and only one flock succeeds. A lock
// file that is not ours is removed and made again; since a rival start may remove the file
// between our open and our flock, the holder checks that the name still leads to the file it
// locked, and starts over when it does not.
void TSingleInstance::TakeLock(const std::string& lockPath)
{
    constexpr int attempts = 8;
    for (int attempt = 0; attempt < attempts; ++attempt) {
        TUniqueFd lock(
            open(lockPath.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0600));
        struct stat opened { };
        if (!lock.Valid() && errno != ELOOP)
            return;
        if (!lock.Valid() || fstat(lock.Get(), &opened) != 0 || !S_ISREG(opened.st_mode)
            || !Ours(opened)) {
            unlink(lockPath.c_str());
            continue;
        }
        if (flock(lock.Get(), LOCK_EX | LOCK_NB) != 0) {
            if (errno == EWOULDBLOCK) {
                FAlreadyExists = true;
                FLock = std::move(lock);
            }
            return;
        }
        struct stat named { };
        if (lstat(lockPath.c_str(), &named) == 0 && SameFile(named, opened)) {
            FLock = std::move(lock);
            return;
        }
    }
}

// The lock holder owns the socket's name: whatever lies there is a leftover of a killed instance
// or was planted, and goes.
void TSingleInstance::BindSocket()
{
    TSocketAddress address;
    if (!SocketAddress(FFolder, FMessageName, address))
        return;
    unlink(FSocketPath.c_str());
    TUniqueFd socket(::socket(AF_UNIX, SOCK_DGRAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
    const int on = 1;
    if (!socket.Valid() || setsockopt(socket.Get(), SOL_SOCKET, SO_PASSCRED, &on, sizeof on) != 0
        || bind(socket.Get(), reinterpret_cast<const sockaddr*>(&address.Address),
               sizeof address.Address)
            != 0)
        return;
    FSocket = std::move(socket);
}

bool TSingleInstance::ValidStartupId(std::string_view text)
{
    return !text.empty() && text.size() <= StartupIdLimit
        && std::all_of(text.begin(), text.end(), [](char c) { return c >= ' ' && c <= '~'; });
}

bool TSingleInstance::PostToRunning(const std::string& startupId) const
{
    TSocketAddress address;
    if (!FAlreadyExists || !SocketAddress(FFolder, FMessageName, address))
        return false;
    std::string datagram = FMessageName;
    if (ValidStartupId(startupId) && datagram.size() + 1 + startupId.size() <= DatagramLimit)
        datagram += TokenSeparator + startupId;
    const TUniqueFd socket(::socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0));
    if (!socket.Valid())
        return false;
    for (int attempt = 0; attempt < PostAttempts; ++attempt) {
        if (attempt > 0)
            std::this_thread::sleep_for(PostPause);
        struct stat info { };
        if (lstat(FSocketPath.c_str(), &info) != 0)
            continue;
        if (!S_ISSOCK(info.st_mode) || !Ours(info))
            return false;
        const ssize_t sent
            = sendto(socket.Get(), datagram.data(), datagram.size(), MSG_DONTWAIT | MSG_NOSIGNAL,
                reinterpret_cast<const sockaddr*>(&address.Address), sizeof address.Address);
        // A full queue means the running instance has calls waiting already.
        if (sent >= 0 || errno == EAGAIN)
            return true;
        if (errno != ECONNREFUSED && errno != ENOENT)
            return false;
    }
    return false;
}

struct TInstanceWatch {
    static gboolean OnReadable(gint, GIOCondition, gpointer self)
    {
        static_cast<const TSingleInstance*>(self)->ReadMessages();
        return G_SOURCE_CONTINUE;
    }
};

void TSingleInstance::Watch(uint16_t message, THandler handler)
{
    FMessage = message;
    FHandler = std::move(handler);
    if (FSocket.Valid() && FSourceId == 0) {
        FSourceId = g_unix_fd_add(FSocket.Get(), G_IO_IN, &TInstanceWatch::OnReadable, this);
    }
}

// The exact message text, alone or followed by the separator and a token. An invalid token is
// dropped while the message still counts: the running window comes forward all the same.
bool TSingleInstance::ParseMessage(std::string_view datagram, std::string& startupId) const
{
    startupId.clear();
    if (!datagram.starts_with(FMessageName))
        return false;
    const std::string_view rest = datagram.substr(FMessageName.size());
    if (rest.empty())
        return true;
    if (rest.front() != TokenSeparator)
        return false;
    if (ValidStartupId(rest.substr(1)))
        startupId = rest.substr(1);
    return true;
}

// Takes every waiting datagram; only the message from a process of this user counts.
void TSingleInstance::ReadMessages() const
{
    for (;;) {
        std::array<char, DatagramLimit> text {};
        alignas(cmsghdr) std::array<char, CMSG_SPACE(sizeof(ucred))> control {};
        iovec part {text.data(), text.size()};
        msghdr header {};
        header.msg_iov = &part;
        header.msg_iovlen = 1;
        header.msg_control = control.data();
        header.msg_controllen = control.size();
        const ssize_t received = recvmsg(FSocket.Get(), &header, MSG_DONTWAIT);
        if (received < 0)
            return;
        const cmsghdr* credentials = CMSG_FIRSTHDR(&header);
        bool fromUs = false;
        if (credentials && credentials->cmsg_level == SOL_SOCKET
            && credentials->cmsg_type == SCM_CREDENTIALS) {
            ucred sender {};
            std::memcpy(&sender, CMSG_DATA(credentials), sizeof sender);
            fromUs = sender.uid == geteuid();
        }
        const bool whole = (header.msg_flags & (MSG_TRUNC | MSG_CTRUNC)) == 0;
        std::string startupId;
        if (!fromUs || !whole
            || !ParseMessage({text.data(), static_cast<std::size_t>(received)}, startupId)
            || !FHandler)
            continue;
        try {
            FHandler(FMessage, startupId);
        } catch (const std::exception& error) {
            std::cerr << "Pathwarden: " << error.what() << "\n";
        }
    }
}
