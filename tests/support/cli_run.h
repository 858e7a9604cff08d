#pragma once

// tavu-cli run inside the test's own process, as its command line would run it.

#include "cli.h"

#include <sstream>
#include <string>
#include <string_view>
#include <vector>

namespace tavu::test {

// A fixture's part that runs the command line and keeps what the last run
// printed.
class CliRun {
public:
    // The exit status; `out` and `err` hold what this run printed.
    int run(const std::vector<std::string>& arguments) {
        out.str("");
        err.str("");
        const std::vector<std::string_view> views(arguments.begin(), arguments.end());
        return runCli(views, out, err);
    }

    std::ostringstream out;
    std::ostringstream err;
};

} // namespace tavu::test
