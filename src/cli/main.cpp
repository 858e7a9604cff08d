#include "cli.h"

#ifdef _WIN32
#include <windows.h>

#include <shellapi.h>

#include <cstdio>
#include <fcntl.h>
#include <io.h>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace {

struct LocalFreeDeleter {
    void operator()(LPWSTR* arguments) const { ::LocalFree(arguments); }
};

// One argument as UTF-8; none when it is not valid UTF-16 (an unpaired surrogate).
std::optional<std::string> utf8Argument(const wchar_t* argument) {
    const int size =
        ::WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, argument, -1, nullptr, 0, nullptr, nullptr);
    if (size <= 0) {
        return std::nullopt;
    }
    std::string text(static_cast<std::size_t>(size), '\0');
    if (::WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, argument, -1, text.data(), size, nullptr,
                              nullptr) != size) {
        return std::nullopt;
    }
    text.pop_back(); // the terminating NUL
    return text;
}

// The arguments as UTF-8, as the rest of the program takes all text: argv
// holds them in the ANSI code page, which cannot hold every file name.
std::optional<std::vector<std::string>> utf8Arguments() {
    int count = 0;
    const std::unique_ptr<LPWSTR, LocalFreeDeleter> wide(::CommandLineToArgvW(::GetCommandLineW(), &count));
    if (!wide) {
        return std::nullopt;
    }
    std::vector<std::string> arguments;
    for (int i = 0; i < count; ++i) {
        auto argument = utf8Argument(wide.get()[i]);
        if (!argument) {
            return std::nullopt;
        }
        arguments.push_back(std::move(*argument));
    }
    return arguments;
}

} // namespace

int main() {
    // A block goes out byte for byte: no "\n" becomes "\r\n".
    if (::_setmode(::_fileno(stdout), _O_BINARY) == -1) {
        std::fputs("tavu-cli: cannot write standard output in binary mode\n", stderr);
        return tavu::ExitOutputUnwritable;
    }
    auto arguments = utf8Arguments();
    if (!arguments) {
        std::fputs("tavu-cli: the command line cannot be read as Unicode text\n", stderr);
        return tavu::ExitUsage;
    }
    std::vector<char*> argv;
    for (std::string& argument : *arguments) {
        argv.push_back(argument.data());
    }
    argv.push_back(nullptr);
    return tavu::cliMain(static_cast<int>(arguments->size()), argv.data());
}
#else
#include "platform/file.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

int main(int argc, char** argv) {
    // An export interrupted by Ctrl+C, a logout or kill leaves none of its
    // temporary files behind.
    if (!tavu::removeTemporaryFilesOnSignals()) {
        std::fprintf(stderr, "tavu-cli: warning: an interrupted run may leave temporary files: %s\n",
                     std::strerror(errno));
    }
    return tavu::cliMain(argc, argv);
}
#endif
