#pragma once

#include <QUrl>

namespace brisko {

/// Opens an address in the user's browser or viewer.
class UrlOpener {
public:
    virtual ~UrlOpener() = default;
    /// False when no program could be started for it.
    virtual bool open(const QUrl& url) = 0;
};

/// The desktop's opener (QDesktopServices, xdg-open on most desktops).
class DesktopUrlOpener : public UrlOpener {
public:
    bool open(const QUrl& url) override;
};

}  // namespace brisko
