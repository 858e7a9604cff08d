#pragma once

#include <memory>
#include <streambuf>

namespace tavu {

enum class StandardStream { Output, Error };

// Where standard output or standard error is a Windows console, a buffer that
// shows the UTF-8 text written to it in every character: a console takes bytes
// in its own code page, so the text goes through its wide-character interface,
// a byte that is not UTF-8 shown as U+FFFD. Null where the bytes can go out as
// they are: to a file or a pipe, and on POSIX systems, whose terminals take
// UTF-8 as it is.
std::unique_ptr<std::streambuf> consoleTextBuffer(StandardStream stream);

} // namespace tavu
