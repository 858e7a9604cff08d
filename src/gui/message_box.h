#pragma once

#include "answered_in_advance.h"

#include <QMessageBox>
#include <QString>

#include <functional>
#include <optional>
#include <vector>

class QWidget;

namespace tavu {

// Every message box of the program: errors and the questions it asks.
class MessageBox {
public:
    struct Shown {
        QString caption;
        QString text;
    };

    // A request the operator made that cannot be carried out: error icon, caption
    // "Error", one OK button.
    static void error(QWidget* parent, const QString& text);
    // An error no handler deals with itself: its own text with a full stop, the
    // application title as caption.
    static void standardError(QWidget* parent, const QString& text);
    // A question with Yes and No, caption "Confirm"; true only when the
    // operator answers Yes. `defaultButton` is the one Enter presses.
    static bool confirm(QWidget* parent, const QString& text,
                        QMessageBox::StandardButton defaultButton = QMessageBox::Yes);

    // The next box is not shown; it is noted and answered with `button`.
    static void setNextAnswer(QMessageBox::StandardButton button);
    // The last box asked for, shown or answered in advance; forgets it.
    static std::optional<Shown> takeLastShown();
    // Every box asked for since the last take, in order; forgets them.
    static std::vector<Shown> takeAllShown();
    // Forgets what was asked and the answers not used, so that nothing of one
    // test reaches the next.
    static void forget();
    // From now on a box not answered in advance is not shown: `report` gets
    // "caption: text", and a question is answered No.
    static void refuseUnanswered(const std::function<void(const QString&)>& report);
    // Shows boxes not answered in advance again, for a test of the box itself.
    static void showUnanswered();

private:
    static AnsweredInAdvance<Shown, QMessageBox::StandardButton>& prompts();
    static void show(QWidget* parent, const QString& caption, const QString& text);
};

// The text of an error as the standard error box shows it: a text whose last
// character comes after "." gets a full stop, so one ending in a letter does and
// one ending in "." or "!" does not.
QString withFullStop(const QString& text);

} // namespace tavu
