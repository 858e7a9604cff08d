#include "platform/console_text.h"
#include "temporary_folder.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>
#include <ostream>
#include <string>

namespace tavu {
namespace {

// Makes a handle standard output or standard error while the test lasts.
class StandardHandle {
public:
    StandardHandle(DWORD which, HANDLE handle) : which_(which), previous_(::GetStdHandle(which)) {
        set_ = ::SetStdHandle(which_, handle) != FALSE;
    }
    StandardHandle(const StandardHandle&) = delete;
    StandardHandle& operator=(const StandardHandle&) = delete;
    ~StandardHandle() { ::SetStdHandle(which_, previous_); }
    bool set() const { return set_; }

private:
    DWORD which_;
    HANDLE previous_;
    bool set_ = false;
};

TEST(ConsoleText, AFileTakesTheBytesAsTheyAre) {
    const test::TemporaryFolder folder("tavu-console-text-");
    const auto path = folder / "text.txt";
    const HANDLE file = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                      FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    {
        const StandardHandle error(STD_ERROR_HANDLE, file);
        ASSERT_TRUE(error.set());
        EXPECT_EQ(consoleTextBuffer(StandardStream::Error), nullptr);
    }
    ::CloseHandle(file);
}

// Text written to a console shows in its own characters, whatever the console's
// code page, also when a write cuts a character in two. The console is a screen
// buffer of its own, never shown.
TEST(ConsoleText, AConsoleShowsEveryCharacter) {
    const bool allocated = ::GetConsoleWindow() == nullptr && ::AllocConsole() != FALSE;
    const HANDLE screen =
        ::CreateConsoleScreenBuffer(GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                    CONSOLE_TEXTMODE_BUFFER, nullptr);
    if (screen == INVALID_HANDLE_VALUE) {
        if (allocated) {
            ::FreeConsole();
        }
        GTEST_SKIP() << "no console to write to";
    }
    const std::string text = "Профили € ✓";
    {
        const StandardHandle output(STD_OUTPUT_HANDLE, screen);
        ASSERT_TRUE(output.set());
        const auto buffer = consoleTextBuffer(StandardStream::Output);
        ASSERT_NE(buffer, nullptr);
        std::ostream stream(buffer.get());
        stream << text.substr(0, 3) << std::flush << text.substr(3) << std::flush;
        EXPECT_TRUE(stream);
    }
    const std::wstring expected = L"Профили € ✓";
    std::wstring shown(expected.size(), L'\0');
    DWORD read = 0;
    EXPECT_TRUE(::ReadConsoleOutputCharacterW(screen, shown.data(), static_cast<DWORD>(shown.size()),
                                              COORD{0, 0}, &read));
    EXPECT_EQ(shown.substr(0, read), expected);
    ::CloseHandle(screen);
    if (allocated) {
        ::FreeConsole();
    }
}

} // namespace
} // namespace tavu
