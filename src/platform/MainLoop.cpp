#include "platform/MainLoop.h"

#include "platform/MessageBox.h"

#include <glib.h>

#include <atomic>
#include <memory>

namespace {

// A job on its way to the loop's thread. The hand-over takes GLib's locks, which a thread checker
// cannot see; the flag's release and acquire make the job, made on the poster's thread, visible
// to the loop's thread in its eyes too.
struct TPosted {
    std::function<void()> Job;
    std::atomic<bool> Posted = false;

    std::function<void()>& Take()
    {
        Posted.load(std::memory_order_acquire);
        return Job;
    }
};

} // namespace

void RunOnMainLoop(std::function<void()> job)
{
    auto posted = std::make_unique<TPosted>();
    posted->Job = std::move(job);
    posted->Posted.store(true, std::memory_order_release);
    g_idle_add_full(
        G_PRIORITY_DEFAULT,
        [](gpointer data) -> gboolean {
            std::function<void()>& job = static_cast<TPosted*>(data)->Take();
            RunGuarded([&job] { job(); });
            return G_SOURCE_REMOVE;
        },
        posted.release(),
        [](gpointer data) {
            std::unique_ptr<TPosted> owned(static_cast<TPosted*>(data));
            owned->Take();
        });
}
