#include "cli/cli.h"

#include <iostream>
#include <string_view>
#include <vector>

int main(int argc, char** argv) {
    std::ios::sync_with_stdio(false);
    const std::vector<std::string_view> arguments(argv + 1, argv + argc);
    const int status = tavu::runCli(arguments, std::cout, std::cerr);
    std::cout.flush();
    return std::cout ? status : tavu::ExitUsage;
}
