#include "platform/date_text.h"

#include <windows.h>

#include <array>

namespace tavu {

// The user's short date format from the regional settings, without a time of
// day, as Windows shows dates everywhere else.
std::string shortDateText(std::time_t when) {
    std::tm local{};
    if (::localtime_s(&local, &when) != 0) {
        return {};
    }
    SYSTEMTIME date{};
    date.wYear = static_cast<WORD>(local.tm_year + 1900);
    date.wMonth = static_cast<WORD>(local.tm_mon + 1);
    date.wDay = static_cast<WORD>(local.tm_mday);
    date.wDayOfWeek = static_cast<WORD>(local.tm_wday);
    std::array<wchar_t, 128> wide{};
    const int length = ::GetDateFormatEx(LOCALE_NAME_USER_DEFAULT, DATE_SHORTDATE, &date, nullptr,
                                         wide.data(), static_cast<int>(wide.size()), nullptr);
    if (length <= 1) {
        return {};
    }
    std::array<char, 512> utf8{};
    const int bytes = ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), length - 1, utf8.data(),
                                            static_cast<int>(utf8.size()), nullptr, nullptr);
    return bytes > 0 ? std::string(utf8.data(), static_cast<std::size_t>(bytes)) : std::string{};
}

std::string todayText() {
    return shortDateText(std::time(nullptr));
}

std::string clockTimeText(std::time_t when) {
    std::tm local{};
    if (::localtime_s(&local, &when) != 0) {
        return "--:--:--";
    }
    std::array<char, 16> buffer{};
    const std::size_t length = std::strftime(buffer.data(), buffer.size(), "%H:%M:%S", &local);
    return std::string(buffer.data(), length);
}

} // namespace tavu
