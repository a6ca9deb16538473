#pragma once

#include <vector>

#include "widgets/NotifyIconHost.h"

namespace brisko::testing {

/// A notification area that keeps every record it is given, in order, and answers like the
/// desktop: an add while the icon shows and a modify or remove while none shows are refused.
class FakeNotifyIconHost : public NotifyIconHost {
public:
    enum class Op { Add, Modify, Remove };
    struct Call {
        Op op;
        NotifyIconData data;
        bool accepted;
    };

    explicit FakeNotifyIconHost(bool extended = true) : extended_(extended) {}

    bool extendedShell() const override { return extended_; }
    bool add(const NotifyIconData& data) override {
        const bool ok = !shown;
        shown = true;
        calls.push_back({Op::Add, data, ok});
        return ok;
    }
    bool modify(const NotifyIconData& data) override {
        calls.push_back({Op::Modify, data, shown});
        return shown;
    }
    bool remove(const NotifyIconData& data) override {
        const bool ok = shown;
        shown = false;
        calls.push_back({Op::Remove, data, ok});
        return ok;
    }
    bool showBalloon(const NotifyIconData&, const QString& title, const QString& text,
                     int) override {
        balloons.push_back(title + " | " + text);
        return balloonsShown;
    }
    void setCallback(Callback callback) override { callback_ = std::move(callback); }
    bool sendsDoubleClicks() const override { return doubleClicks; }

    /// Sends a mouse notification as the desktop would.
    void send(unsigned mouseMessage) {
        if (callback_)
            callback_(kTrayCallbackMessage, mouseMessage);
    }
    int count(Op op) const {
        int n = 0;
        for (const auto& call : calls)
            n += call.op == op;
        return n;
    }
    const NotifyIconData& last() const { return calls.back().data; }

    std::vector<Call> calls;
    bool shown = false;
    /// False plays a StatusNotifierItem host: single activations only.
    bool doubleClicks = true;
    /// The messages asked for ("title | text"), and whether the desktop shows them.
    std::vector<QString> balloons;
    bool balloonsShown = true;

private:
    bool extended_;
    Callback callback_;
};

}  // namespace brisko::testing
