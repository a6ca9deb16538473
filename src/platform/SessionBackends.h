#pragma once

#include <memory>

#include "platform/linux/SessionBackend.h"

namespace brisko {
class SettingsStore;
}

namespace brisko::platform {

/// The session backend of the kind chosen at start; the store keeps what a desktop granted
/// (may be null). Needs the QGuiApplication to exist.
std::unique_ptr<desktop::SessionBackend> MakeSessionBackend(desktop::BackendKind kind,
                                                            SettingsStore* store = nullptr);

}  // namespace brisko::platform
