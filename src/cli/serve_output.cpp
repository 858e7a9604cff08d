#include "serve_output.h"

#include "chosen_profile.h"
#include "exit_statuses.h"
#include "platform/date_text.h"

#include <algorithm>
#include <ctime>

namespace tavu::cli {

namespace {

// The pieces left out of a block that are each warned of; the rest are counted.
constexpr std::size_t kLeftOutWarnings = 10;

} // namespace

void warnOfLeftOut(const std::vector<hub::LeftOutCommand>& leftOut, std::ostream& err) {
    for (std::size_t i = 0; i < std::min(leftOut.size(), kLeftOutWarnings); ++i) {
        err << "tavu-cli: warning: "
            << escapedMessage("piece " + std::to_string(leftOut[i].piece) + ", line " +
                              std::to_string(leftOut[i].line) + ": " + leftOut[i].detail +
                              "; it is left out of the menu served")
            << '\n';
    }
    if (leftOut.size() > kLeftOutWarnings) {
        err << "tavu-cli: warning: protocol commands left out of the menu served besides these: "
            << leftOut.size() - kLeftOutWarnings << '\n';
    }
}

int reportMenuFailure(const hub::MenuFailure& failure, const GenerationRequest& request, std::ostream& err) {
    if (const auto* unreadable = std::get_if<hub::menu_failure::BlockUnreadable>(&failure)) {
        printError(err, unreadable->reason);
        return ExitNoProfiles;
    }
    const auto& unmade = std::get<hub::menu_failure::ProfileUnmade>(failure);
    return reportFailure(unmade.failure, {whoOf(request, unmade.index, unmade.name), "<served menu>"}, err);
}

void reportReload(const Result<hub::MadeMenu, hub::MenuFailure>& made, const GenerationRequest& request,
                  PrintingThread& printer, std::ostream& err) {
    printer.print(clockTimeText(std::time(nullptr)) + " a file of the menu changed");
    if (made) {
        warnOfLeftOut(made->leftOut, err);
        printer.print(clockTimeText(std::time(nullptr)) + " the new menu goes to every client");
        return;
    }
    try {
        // The exit status is for a menu that cannot be made at the start.
        (void)reportMenuFailure(made.failure(), request, err);
    } catch (const UsageError& error) {
        printError(err, error.message());
    }
    printer.print(clockTimeText(std::time(nullptr)) + " the clients keep the last menu");
}

} // namespace tavu::cli
