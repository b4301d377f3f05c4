#include "platform/Shell.h"

#include "common/KelStd.h"

#include <gio/gio.h>

#include <filesystem>
#include <memory>
#include <set>

namespace {

struct TErrorFree {
    void operator()(GError* e) const { g_error_free(e); }
};

} // namespace

bool OpenAddress(const std::string& address)
{
    if (address.empty())
        return false;
    // A bare host name such as www.example.org opens as a web address.
    const std::string uri = address.find(':') == std::string::npos ? "http://" + address : address;
    GError* raw = nullptr;
    const gboolean opened = g_app_info_launch_default_for_uri(uri.c_str(), nullptr, &raw);
    const std::unique_ptr<GError, TErrorFree> error(raw);
    return opened != FALSE;
}

std::string ExecutablePath()
{
    std::error_code error;
    const std::filesystem::path path = std::filesystem::canonical("/proc/self/exe", error);
    return error ? std::string() : path.string();
}

std::string FindFileIgnoringCase(const std::string& folder, const std::string& name)
{
    namespace fs = std::filesystem;
    const fs::path exact = fs::path(folder) / name;
    std::error_code error;
    if (fs::exists(exact, error))
        return exact.string();
    std::set<std::string> matches;
    const std::string wanted = LowerNameText(name);
    for (auto it = fs::directory_iterator(folder, error); !error && it != fs::directory_iterator();
         it.increment(error)) {
        const std::string entry = it->path().filename().string();
        if (LowerNameText(entry) == wanted)
            matches.insert(entry);
    }
    return matches.empty() ? exact.string() : (fs::path(folder) / *matches.begin()).string();
}
