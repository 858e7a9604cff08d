#pragma once

// What every modal prompt of the program shares: a test answers the next
// prompts in advance instead of having a modal dialog block it, and reads back
// what the program asked.

#include <deque>
#include <optional>
#include <utility>
#include <vector>

namespace tavu {

template <typename Request, typename Answer>
class AnsweredInAdvance {
public:
    // The next prompt not yet answered is not shown; it is noted and answered
    // with `answer`. Answers are used in the order they were given.
    void setNextAnswer(Answer answer) { answers_.push_back(std::move(answer)); }
    // The last prompt asked for, shown or answered in advance; forgets all.
    std::optional<Request> takeLastRequest() {
        std::optional<Request> last;
        if (!requests_.empty()) {
            last = std::move(requests_.back());
        }
        requests_.clear();
        return last;
    }
    // Every prompt asked for since the last take, in order; forgets them.
    std::vector<Request> takeRequests() { return std::exchange(requests_, {}); }

    // Notes the request; the answer given in advance, or none when the
    // prompt is to be shown.
    std::optional<Answer> ask(Request request) {
        requests_.push_back(std::move(request));
        if (answers_.empty()) {
            return std::nullopt;
        }
        Answer answer = std::move(answers_.front());
        answers_.pop_front();
        return answer;
    }

    void forget() {
        answers_.clear();
        requests_.clear();
    }

private:
    std::deque<Answer> answers_;
    std::vector<Request> requests_;
};

} // namespace tavu
