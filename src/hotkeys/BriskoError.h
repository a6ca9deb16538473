#pragma once

#include <exception>
#include <functional>
#include <stdexcept>
#include <string>

namespace brisko {

/// An error raised inside a handler. It ends that handler; the program shows its text in the
/// stop-icon box titled "Brisko" and goes on running.
class BriskoError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

/// Replaces the first "%s" of a message pattern with the argument.
std::string FormatMessage(const std::string& pattern, const std::string& argument);

/// Replaces the first "%d" of a message pattern with the number.
std::string FormatMessage(const std::string& pattern, long long number);

/// Where handler errors are reported to the user.
class ErrorSink {
public:
    virtual ~ErrorSink() = default;
    /// Shows the error text (stop icon, title "Brisko") and returns when it is dismissed.
    virtual void ShowError(const std::string& text) = 0;
};

/// Runs one handler. Any error it raises ends it and goes to the sink; returns false then.
/// Every event handler of the program runs through this, so an error never ends the program.
bool RunHandler(ErrorSink& errors, const std::function<void()>& handler);

/// Converts decimal text (an optional sign, then digits) to an integer.
/// Raises "'%s' ist kein gültiger Integerwert" for anything else, including overflow.
int StrToInt(const std::string& text);

}  // namespace brisko
