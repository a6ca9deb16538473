#pragma once

#include <QStringList>

#include "dialogs/UrlOpener.h"

namespace brisko::testing {

/// Records the addresses instead of starting a browser.
class FakeUrlOpener : public UrlOpener {
public:
    bool open(const QUrl& url) override {
        opened << url.toString();
        return result;
    }
    QStringList opened;
    bool result = true;
};

}  // namespace brisko::testing
