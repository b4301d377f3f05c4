#include "platform/SingleInstance.h"

#include "support/TempFolder.h"

#include <glib.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>

namespace {

const std::string Lock = "WARDEN";
const std::string Message = "Check for Pathwarden instance";
constexpr uint16_t MessageId = 0xC0DE;

// Runs body in a child process; its answer becomes the exit code.
pid_t Start(const std::function<int()>& body)
{
    const pid_t pid = fork();
    if (pid == 0)
        _exit(body());
    return pid;
}

int ExitCode(pid_t pid)
{
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// A later start as the game makes one: it finds the lock taken and posts the message.
int SecondStart(const std::string& folder)
{
    const TSingleInstance instance(folder, Lock, Message);
    return instance.AlreadyExists() && instance.PostToRunning() ? 0 : 1;
}

// Sends text to the running instance's socket as any process of this user could.
void SendRaw(const std::string& socketPath, const std::string& text)
{
    const int fd = socket(AF_UNIX, SOCK_DGRAM, 0);
    sockaddr_un address {AF_UNIX, {}};
    socketPath.copy(address.sun_path, socketPath.size());
    sendto(fd, text.data(), text.size(), 0, reinterpret_cast<sockaddr*>(&address), sizeof address);
    close(fd);
}

// Runs the main loop until the handler has been called `expected` times and then a little
// longer, to catch calls too many; five seconds at most. Returns the number of calls; the tokens
// that came with them go to tokens.
int MessagesWithin(
    TSingleInstance& instance, int expected, std::vector<std::string>* tokens = nullptr)
{
    int calls = 0;
    GMainLoop* loop = g_main_loop_new(nullptr, FALSE);
    const auto quit = [](gpointer l) {
        g_main_loop_quit(static_cast<GMainLoop*>(l));
        return G_SOURCE_REMOVE;
    };
    instance.Watch(MessageId, [&](uint16_t message, const std::string& startupId) {
        calls += message == MessageId ? 1 : 100;
        if (tokens != nullptr)
            tokens->push_back(startupId);
        if (calls == expected)
            g_timeout_add(200, quit, loop);
    });
    const guint timeout = g_timeout_add(5000, quit, loop);
    g_main_loop_run(loop);
    g_source_remove(timeout);
    g_main_loop_unref(loop);
    return calls;
}

} // namespace

TEST(SingleInstance, StartsAtTheSameMomentGiveExactlyOneOwner)
{
    const TTempFolder temp;
    for (int round = 0; round < 10; ++round) {
        int gate[2], answers[2], hold[2];
        ASSERT_EQ(pipe(gate) | pipe(answers) | pipe(hold), 0);
        if (round % 2 == 1) { // every start finds a lock file it must not trust, and replaces it
            unlink(temp.Path(Lock).c_str());
            symlink("/dev/null", temp.Path(Lock).c_str());
        }
        std::vector<pid_t> starts;
        starts.reserve(6);
        for (int i = 0; i < 6; ++i) {
            starts.push_back(Start([&] {
                char byte = 0;
                close(gate[1]);
                close(hold[1]);
                read(gate[0], &byte, 1);
                const TSingleInstance instance(temp.Root, Lock, Message);
                byte = instance.AlreadyExists() ? 'n' : instance.Guarded() ? 'y' : '?';
                write(answers[1], &byte, 1);
                read(hold[0], &byte, 1); // the owner keeps its lock until every start has tried
                return 0;
            }));
        }
        close(gate[0]);
        close(gate[1]); // all starts go at once
        std::string said(starts.size(), ' ');
        for (char& answer : said)
            ASSERT_EQ(read(answers[0], &answer, 1), 1);
        EXPECT_EQ(std::count(said.begin(), said.end(), 'y'), 1) << said << ", round " << round;
        EXPECT_EQ(std::count(said.begin(), said.end(), 'n'), 5) << said << ", round " << round;
        for (int fd : {answers[0], answers[1], hold[0], hold[1]})
            close(fd);
        for (const pid_t pid : starts)
            ExitCode(pid);
    }
}

TEST(SingleInstance, AStartAfterAKilledInstanceOwnsAndHearsTheNextStart)
{
    const TTempFolder temp;
    int ready[2];
    ASSERT_EQ(pipe(ready), 0);
    const pid_t first = Start([&] {
        const TSingleInstance instance(temp.Root, Lock, Message);
        write(ready[1], "y", 1);
        pause();
        return 0;
    });
    char byte = 0;
    ASSERT_EQ(read(ready[0], &byte, 1), 1);
    close(ready[0]);
    close(ready[1]);
    EXPECT_TRUE(TSingleInstance(temp.Root, Lock, Message).AlreadyExists());
    kill(first, SIGKILL);
    ExitCode(first);

    TSingleInstance running(temp.Root, Lock, Message); // over the killed one's leftovers
    ASSERT_FALSE(running.AlreadyExists());
    const pid_t second = Start([&] { return SecondStart(temp.Root); });
    EXPECT_EQ(MessagesWithin(running, 1), 1);
    EXPECT_EQ(ExitCode(second), 0);
}

// The socket stays in the private folder: a name in a shared one could be taken first by anyone.
TEST(SingleInstance, AFolderTooLongForASocketAddressStillHandsOverFromWithinIt)
{
    const TTempFolder temp;
    const std::string folder = temp.Path(std::string(60, 'd') + "/" + std::string(60, 'e'));
    std::filesystem::create_directories(folder);
    ASSERT_GT(folder.size() + Message.size(), sizeof(sockaddr_un::sun_path));
    TSingleInstance running(folder, Lock, Message);
    EXPECT_TRUE(std::filesystem::is_socket(folder + "/" + Message));
    const pid_t second = Start([&] { return SecondStart(folder); });
    EXPECT_EQ(MessagesWithin(running, 1), 1);
    EXPECT_EQ(ExitCode(second), 0);
}

TEST(SingleInstance, AReleasedInstanceLeavesTheNextStartToBecomeTheRunningOne)
{
    const TTempFolder temp;
    TSingleInstance running(temp.Root, Lock, Message);
    TSingleInstance early(temp.Root, Lock, Message);
    ASSERT_TRUE(early.AlreadyExists());
    running.Release();
    EXPECT_FALSE(std::filesystem::exists(temp.Path(Message)));
    EXPECT_FALSE(TSingleInstance(temp.Root, Lock, Message).AlreadyExists());

    // A start that found the lock taken and could not post takes it over once it is free.
    EXPECT_FALSE(early.PostToRunning());
    early.TakeOver();
    EXPECT_FALSE(early.AlreadyExists());
    EXPECT_TRUE(early.Guarded());
    const pid_t next = Start([&] { return SecondStart(temp.Root); });
    EXPECT_EQ(MessagesWithin(early, 1), 1);
    EXPECT_EQ(ExitCode(next), 0);

    // While the lock stays taken, it is still a later start and never a second running one.
    TSingleInstance unheard(temp.Root, Lock, Message);
    unheard.TakeOver();
    EXPECT_TRUE(unheard.AlreadyExists());
}

TEST(SingleInstance, OnlyTheExactMessageFromThisUserCounts)
{
    const TTempFolder temp;
    TSingleInstance running(temp.Root, Lock, Message);
    for (const std::string& text :
        {Message + "!", Message + " \ntoken", std::string("Check"), Message})
        SendRaw(temp.Path(Message), text);
    EXPECT_EQ(MessagesWithin(running, 1), 1);
}

TEST(SingleInstance, ALaterStartsTokenComesWithTheMessageAndABadOneIsDropped)
{
    const TTempFolder temp;
    TSingleInstance running(temp.Root, Lock, Message);
    const TSingleInstance later(temp.Root, Lock, Message);
    ASSERT_TRUE(later.AlreadyExists());
    const std::string longest(200, '~');
    const std::string token = "launcher/Pathwarden/1234-0-host_TIME5678";
    struct TCase {
        std::string Sent, Taken;
    };
    const std::vector<TCase> posted {{token, token}, {longest, longest}, {"", ""},
        {longest + "~", ""}, {"tab\there", ""}, {"caf\xC3\xA9", ""}, {std::string("nul\0", 4), ""}};
    for (const TCase& c : posted)
        EXPECT_TRUE(later.PostToRunning(c.Sent));
    // The running instance checks what arrives itself.
    const std::vector<TCase> raw {{Message + "\n" + longest + "~", ""},
        {Message + "\nline\nfeed", ""}, {Message + "\n", ""}, {Message + "\n" + token, token}};
    for (const TCase& c : raw)
        SendRaw(temp.Path(Message), c.Sent);

    std::vector<std::string> tokens;
    const int expected = static_cast<int>(posted.size() + raw.size());
    EXPECT_EQ(MessagesWithin(running, expected, &tokens), expected);
    std::vector<std::string> taken;
    for (const std::vector<TCase>* cases : {&posted, &raw})
        for (const TCase& c : *cases)
            taken.push_back(c.Taken);
    EXPECT_EQ(tokens, taken);
}

TEST(SingleInstance, PlantedLockFileAndSocketAreNeverTrusted)
{
    const TTempFolder temp;
    const std::string target = temp.Write("target", "keep");
    symlink(target.c_str(), temp.Path(Lock).c_str());
    symlink(target.c_str(), temp.Path(Message).c_str());
    TSingleInstance running(temp.Root, Lock, Message);
    EXPECT_FALSE(running.AlreadyExists());
    EXPECT_TRUE(running.Guarded());
    EXPECT_EQ(temp.Read("target"), "keep");

    const pid_t second = Start([&] { return SecondStart(temp.Root); });
    EXPECT_EQ(MessagesWithin(running, 1), 1);
    EXPECT_EQ(ExitCode(second), 0);
    if (!RunningAsRoot())
        return;
    // Files of another user in the folder: the lock is made anew, the socket is not posted to.
    const TTempFolder other;
    other.Write(Lock, "");
    ASSERT_EQ(chown(other.Path(Lock).c_str(), 65534, 65534), 0);
    EXPECT_TRUE(TSingleInstance(other.Root, Lock, Message).Guarded());
    const TSingleInstance holder(other.Root, Lock, Message);
    unlink(other.Path(Message).c_str());
    other.Write(Message, "");
    ASSERT_EQ(chown(other.Path(Message).c_str(), 65534, 65534), 0);
    EXPECT_FALSE(TSingleInstance(other.Root, Lock, Message).PostToRunning());
}
