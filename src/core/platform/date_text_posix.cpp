#include "platform/date_text.h"

#include <array>
#include <locale.h>

namespace tavu {

std::string shortDateText(std::time_t when) {
    std::tm local{};
    localtime_r(&when, &local);
    // A locale of its own, so the process-wide locale is neither needed nor changed.
    locale_t timeLocale = newlocale(LC_TIME_MASK, "", nullptr);
    if (timeLocale == nullptr) {
        timeLocale = newlocale(LC_TIME_MASK, "C", nullptr);
    }
    std::array<char, 128> buffer{};
    const std::size_t length = strftime_l(buffer.data(), buffer.size(), "%x", &local, timeLocale);
    freelocale(timeLocale);
    return std::string(buffer.data(), length);
}

std::string todayText() {
    return shortDateText(std::time(nullptr));
}

std::string clockTimeText(std::time_t when) {
    std::tm local{};
    if (localtime_r(&when, &local) == nullptr) {
        return "--:--:--";
    }
    std::array<char, 16> buffer{};
    const std::size_t length = std::strftime(buffer.data(), buffer.size(), "%H:%M:%S", &local);
    return std::string(buffer.data(), length);
}

} // namespace tavu
