#include "platform/command_line.h"

#include <windows.h>

#include <shellapi.h>

#include <cstdio>
#include <fcntl.h>
#include <io.h>
#include <memory>

namespace tavu {

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

} // namespace

std::optional<std::vector<std::string>> commandLineArguments(int /*argc*/, char** /*argv*/) {
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

bool useBinaryStandardOutput() {
    return ::_setmode(::_fileno(stdout), _O_BINARY) != -1;
}

} // namespace tavu
