#include "platform/console_text.h"

#include "base/text.h"

#include <windows.h>

#include <array>
#include <cstring>
#include <string>
#include <string_view>

namespace tavu {

namespace {

// Collects UTF-8 text and writes it to the console as UTF-16, whole characters
// at a time: a character cut by the end of the buffer waits for its rest.
class WideConsoleBuffer final : public std::streambuf {
public:
    explicit WideConsoleBuffer(HANDLE console) : console_(console) { restart(0); }
    WideConsoleBuffer(const WideConsoleBuffer&) = delete;
    WideConsoleBuffer& operator=(const WideConsoleBuffer&) = delete;
    ~WideConsoleBuffer() override { static_cast<void>(writeWholeCharacters()); }

protected:
    int_type overflow(int_type character) override {
        if (!writeWholeCharacters()) {
            return traits_type::eof();
        }
        if (!traits_type::eq_int_type(character, traits_type::eof())) {
            *pptr() = traits_type::to_char_type(character);
            pbump(1);
        }
        return traits_type::not_eof(character);
    }

    int sync() override { return writeWholeCharacters() ? 0 : -1; }

private:
    void restart(std::size_t kept) {
        setp(bytes_.data(), bytes_.data() + bytes_.size());
        pbump(static_cast<int>(kept));
    }

    [[nodiscard]] bool writeWholeCharacters() {
        const std::string_view pending(pbase(), static_cast<std::size_t>(pptr() - pbase()));
        const std::size_t whole = wholeUtf8Length(pending);
        const bool written = writeToConsole(pending.substr(0, whole));
        const std::size_t kept = pending.size() - whole;
        std::memmove(bytes_.data(), bytes_.data() + whole, kept);
        restart(kept);
        return written;
    }

    [[nodiscard]] bool writeToConsole(std::string_view utf8) const {
        if (utf8.empty()) {
            return true;
        }
        // Without MB_ERR_INVALID_CHARS, a byte that is not UTF-8 becomes U+FFFD.
        const int size = static_cast<int>(utf8.size());
        const int units = ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, nullptr, 0);
        if (units <= 0) {
            return false;
        }
        std::wstring wide(static_cast<std::size_t>(units), L'\0');
        if (::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, wide.data(), units) != units) {
            return false;
        }
        for (std::size_t done = 0; done < wide.size();) {
            DWORD written = 0;
            if (!::WriteConsoleW(console_, wide.data() + done, static_cast<DWORD>(wide.size() - done),
                                 &written, nullptr) ||
                written == 0) {
                return false;
            }
            done += written;
        }
        return true;
    }

    HANDLE console_;
    std::array<char, 4096> bytes_{};
};

} // namespace

std::unique_ptr<std::streambuf> consoleTextBuffer(StandardStream stream) {
    const HANDLE handle =
        ::GetStdHandle(stream == StandardStream::Output ? STD_OUTPUT_HANDLE : STD_ERROR_HANDLE);
    DWORD mode = 0;
    // Only a console has a console mode; a file or a pipe takes the bytes.
    if (handle == INVALID_HANDLE_VALUE || handle == nullptr || !::GetConsoleMode(handle, &mode)) {
        return nullptr;
    }
    return std::make_unique<WideConsoleBuffer>(handle);
}

} // namespace tavu
