#include "BriskoError.h"

#include <climits>

namespace brisko {

namespace {
std::string ReplaceFirst(const std::string& pattern, const std::string& token,
                         const std::string& value) {
    std::string::size_type at = pattern.find(token);
    if (at == std::string::npos)
        return pattern;
    std::string out = pattern;
    out.replace(at, token.size(), value);
    return out;
}
}  // namespace

std::string FormatMessage(const std::string& pattern, const std::string& argument) {
    return ReplaceFirst(pattern, "%s", argument);
}

std::string FormatMessage(const std::string& pattern, long long number) {
    return ReplaceFirst(pattern, "%d", std::to_string(number));
}

bool RunHandler(ErrorSink& errors, const std::function<void()>& handler) {
    try {
        handler();
        return true;
    } catch (const BriskoError& e) {
        errors.ShowError(e.what());
    } catch (const std::bad_alloc&) {
        errors.ShowError("Zu wenig Arbeitsspeicher");
    } catch (const std::exception& e) {
        errors.ShowError(e.what());
    }
    return false;
}

int StrToInt(const std::string& text) {
    auto fail = [&text]() -> int {
        throw BriskoError(FormatMessage("'%s' ist kein gültiger Integerwert", text));
    };
    std::size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    if (i == text.size())
        return fail();
    long long value = 0;
    for (; i < text.size(); ++i) {
        char c = text[i];
        if (c < '0' || c > '9')
            return fail();
        value = value * 10 + (c - '0');
        if (value > static_cast<long long>(INT_MAX) + 1)
            return fail();
    }
    if (negative)
        value = -value;
    if (value < INT_MIN || value > INT_MAX)
        return fail();
    return static_cast<int>(value);
}

}  // namespace brisko
