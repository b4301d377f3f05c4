#include "platform/Shell.h"

#include <gio/gio.h>

#include <filesystem>
#include <memory>

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
