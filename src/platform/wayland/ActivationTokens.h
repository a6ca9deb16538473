#pragma once

#include <memory>
#include <string>

namespace brisko::wayland {

/// XDG activation tokens from the Wayland compositor (xdg_activation_v1), handed to started
/// programs so that the compositor may give their first window the focus.
///
/// Speaks to the compositor over a connection of its own, through libwayland-client opened at
/// run time: a session without a compositor never loads it. The compositor's globals are taken
/// up from the event loop; a token is waited for at most waitMs, so that a compositor that is
/// slow or offers no tokens only means a program started without one.
class ActivationTokens {
public:
    static constexpr int kDefaultWaitMs = 40;

    /// Connects to the compositor named displayName (as WAYLAND_DISPLAY names it), without
    /// waiting for it. An empty name, or no compositor there, gives no tokens.
    explicit ActivationTokens(const std::string& displayName, int waitMs = kDefaultWaitMs);
    ~ActivationTokens();
    ActivationTokens(const ActivationTokens&) = delete;
    ActivationTokens& operator=(const ActivationTokens&) = delete;

    /// A fresh token for starting the application appId (a desktop file id without
    /// ".desktop"; may be empty). Empty when the compositor offers none or did not answer in
    /// time.
    std::string request(const std::string& appId);

private:
    struct Connection;
    std::unique_ptr<Connection> connection_;
    int waitMs_;
};

/// The application id of a desktop entry's path: its file name without ".desktop"; empty for
/// anything else.
std::string ApplicationIdOfEntry(const std::string& path);

}  // namespace brisko::wayland
