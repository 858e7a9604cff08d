#include "child_process.h"

#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace tavu::test {

namespace {

// In the child, between fork and exec: puts the file `path` on `target`.
bool redirect(const std::string& path, int flags, int target) {
    const int file = ::open(path.c_str(), flags, 0600);
    return file >= 0 && ::dup2(file, target) >= 0;
}

} // namespace

ChildProcess::ChildProcess(const std::vector<std::string>& arguments, const ChildStreams& streams) {
    // Made before the fork: the child only calls what is safe between fork and exec.
    std::vector<char*> argv;
    for (const std::string& argument : arguments) {
        argv.push_back(const_cast<char*>(argument.c_str()));
    }
    argv.push_back(nullptr);
    int output[2];
    if (::pipe(output) != 0) {
        return;
    }
    if (streams.nobodyReads) {
        ::close(output[0]);
        output[0] = -1;
    }
    child_ = ::fork();
    if (child_ == 0) {
        if (streams.nobodyReads) {
            std::signal(SIGPIPE, SIG_IGN);
        }
        const bool redirected =
            (streams.output.empty()
                 ? ::dup2(output[1], STDOUT_FILENO) >= 0
                 : redirect(streams.output, O_WRONLY | O_CREAT | O_TRUNC, STDOUT_FILENO)) &&
            (streams.errors.empty() || redirect(streams.errors, O_WRONLY | O_CREAT | O_TRUNC, STDERR_FILENO));
        if (redirected) {
            ::execv(argv.front(), argv.data());
        }
        ::_exit(127);
    }
    ::close(output[1]);
    output_ = output[0];
}

ChildProcess::~ChildProcess() {
    if (started() && !ended()) {
        ::kill(child_, SIGKILL);
        ::waitpid(child_, nullptr, 0);
    }
    if (output_ >= 0) {
        ::close(output_);
    }
}

bool ChildProcess::signal(int number) const {
    return started() && ::kill(child_, number) == 0;
}

std::string ChildProcess::nextLine(std::chrono::milliseconds time) {
    const auto end = std::chrono::steady_clock::now() + time;
    while (pending_.find('\n') == std::string::npos) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(end - std::chrono::steady_clock::now());
        pollfd waiting{output_, POLLIN, 0};
        char buffer[4096];
        if (left.count() <= 0 || ::poll(&waiting, 1, static_cast<int>(left.count())) != 1) {
            return {};
        }
        const ssize_t size = ::read(output_, buffer, sizeof buffer);
        if (size <= 0) {
            return {};
        }
        pending_.append(buffer, static_cast<std::size_t>(size));
    }
    const std::size_t endOfLine = pending_.find('\n');
    std::string line = pending_.substr(0, endOfLine);
    pending_.erase(0, endOfLine + 1);
    return line;
}

std::string ChildProcess::rest() {
    std::string text = std::move(pending_);
    pending_.clear();
    char buffer[4096];
    for (ssize_t size; (size = ::read(output_, buffer, sizeof buffer)) > 0;) {
        text.append(buffer, static_cast<std::size_t>(size));
    }
    return text;
}

bool ChildProcess::ended() {
    if (started() && !ended_) {
        ended_ = ::waitpid(child_, &status_, WNOHANG) == child_;
    }
    return ended_;
}

bool ChildProcess::waitUntilEnded(std::chrono::milliseconds time) {
    const auto end = std::chrono::steady_clock::now() + time;
    while (!ended() && started() && std::chrono::steady_clock::now() < end) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return ended_;
}

int ChildProcess::exitStatus(std::chrono::milliseconds time) {
    return waitUntilEnded(time) && WIFEXITED(status_) ? WEXITSTATUS(status_) : -1;
}

int ChildProcess::endingSignal(std::chrono::milliseconds time) {
    return waitUntilEnded(time) && WIFSIGNALED(status_) ? WTERMSIG(status_) : 0;
}

} // namespace tavu::test
