#pragma once

#include <memory>

#include "platform/linux/SessionBackend.h"

namespace brisko::platform {

/// The session backend of the kind chosen at start. Needs the QGuiApplication to exist.
std::unique_ptr<desktop::SessionBackend> MakeSessionBackend(desktop::BackendKind kind);

}  // namespace brisko::platform
