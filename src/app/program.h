#pragma once

// The composition root: the session on the settings file where the program
// keeps it, and the windows on the session.

#include "closing_signals.h"
#include "main_form.h"
#include "secondary_form.h"
#include "session.h"

#include <QStringList>

#include <memory>
#include <optional>
#include <stdexcept>
#include <vector>

namespace tavu {

// The program's windows on one session. Creating them sets the application
// title, then creates the main window and the secondary windows in the order
// of their table, each shown by a control of the main window; the secondary
// windows stay hidden until asked for.
class Windows {
public:
    explicit Windows(Session& session);
    Windows(const Windows&) = delete;
    Windows& operator=(const Windows&) = delete;

    TMainForm& mainForm() { return *mainForm_; }
    // The secondary window of the class `Form`.
    template <typename Form>
    Form& form() {
        for (const std::unique_ptr<SecondaryForm>& secondary : secondaryForms_) {
            if (auto* found = dynamic_cast<Form*>(secondary.get())) {
                return *found;
            }
        }
        throw std::logic_error("the program has no such window");
    }

private:
    SecondaryForm* add(std::unique_ptr<SecondaryForm> form);
    void connectMenuItemsToPreview();
    void connectProfilesGlanceToMenuItems();

    std::unique_ptr<TMainForm> mainForm_;
    // Declared after the main window, so that they go first: the main window
    // only points at them.
    std::vector<std::unique_ptr<SecondaryForm>> secondaryForms_;
};

class Program {
public:
    // Reads the settings file and creates the windows. A settings file that
    // cannot be read is reported once, and every default is used. The signals
    // that ask the program to end close the main window as its close button does.
    Program();

    // Shows the main window, then opens the profiles file the command line
    // names (`files`, the operands of the command line), as the Open button
    // would. More than one file is refused with the usage in an error box.
    void start(const QStringList& files);
    // Runs the event loop until the main window closes, and returns the
    // program's exit status. A main window that closed before, on a signal
    // while a box was open at start, ends the program at once.
    int run();

    Session& session() { return session_; }
    Windows& windows() { return *windows_; }

private:
    Session session_;
    std::unique_ptr<Windows> windows_;
    std::optional<ClosingSignals> closingSignals_;
    bool closed_ = false;
};

} // namespace tavu
