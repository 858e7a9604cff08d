#pragma once

#include <ctime>
#include <string>

namespace tavu {

// A date in the user's short date format, from the environment's locale
// (LC_TIME, LC_ALL or LANG), as "%x" gives it. Every caller that needs the date
// of a generation asks here.
std::string shortDateText(std::time_t when);
std::string todayText();

// The local time of day as "HH:MM:SS", for lines printed as things happen.
std::string clockTimeText(std::time_t when);

} // namespace tavu
