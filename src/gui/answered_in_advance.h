#pragma once

// What every modal prompt of the program shares: a test answers the next
// prompts in advance instead of having a modal dialog block it, and reads back
// what the program asked.

#include <deque>
#include <functional>
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

    // From now on, a prompt not answered in advance is not shown
    // either, where a modal dialog would wait for an answer forever: `report`
    // is told of it (a test records its failure) and it gets `safeAnswer`.
    void refuseUnanswered(std::function<void(const Request&)> report, Answer safeAnswer) {
        unanswered_ = Refusal{std::move(report), std::move(safeAnswer)};
    }
    // Shows prompts not answered in advance again, for a test of the dialog itself.
    void showUnanswered() { unanswered_.reset(); }

    // Notes the request; the answer given in advance, or none when the
    // prompt is to be shown.
    std::optional<Answer> ask(Request request) {
        requests_.push_back(std::move(request));
        if (answers_.empty() && unanswered_) {
            unanswered_->report(requests_.back());
            return unanswered_->safeAnswer;
        }
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
    struct Refusal {
        std::function<void(const Request&)> report;
        Answer safeAnswer;
    };

    std::deque<Answer> answers_;
    std::vector<Request> requests_;
    std::optional<Refusal> unanswered_;
};

} // namespace tavu
