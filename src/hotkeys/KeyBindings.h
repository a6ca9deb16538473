#pragma once

#include <string>

namespace brisko {

/// What the desktop made of a slot's key.
enum class KeyMark {
    None,            // not asked for, or the answer is still pending
    Held,            // the bare key, as asked
    OtherTrigger,    // bound, but the desktop gave it another trigger (see trigger)
    TakenElsewhere,  // another program holds the key; taken as soon as it lets go
    NoTrigger,       // the desktop left it without any trigger
    Refused,         // the desktop or the user declined the binding
    NoService        // this desktop offers programs no global shortcuts
};

struct KeyState {
    KeyMark mark = KeyMark::None;
    std::string trigger;  // the desktop's own description of the trigger, where it gave one
};

/// How the slots' keys stand with the desktop, beyond the registration calls of SystemControl.
class KeyBindings {
public:
    virtual ~KeyBindings() = default;
    /// The state of slot n's key (1..11).
    virtual KeyState keyState(int slot) const = 0;
    /// The name of slot n's action in the chosen language, for the desktop's list of
    /// shortcuts. Cheap to call with an unchanged name.
    virtual void describeKey(int slot, const std::string& description) = 0;
};

}  // namespace brisko
