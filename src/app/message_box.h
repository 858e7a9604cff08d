#pragma once

#include <QMessageBox>
#include <QString>

#include <optional>

class QWidget;

namespace tavu {

// Every message box of the program goes through here, so that a test can answer
// the next box in advance instead of having a modal box block it.
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

    // The next box is not shown; it is noted and answered with `button`.
    static void setNextAnswer(QMessageBox::StandardButton button);
    // The last box asked for, shown or answered in advance; forgets it.
    static std::optional<Shown> takeLastShown();

private:
    static void show(QWidget* parent, const QString& caption, const QString& text);
};

// The text of an error as the standard error box shows it: a text whose last
// character comes after "." gets a full stop, so one ending in a letter does and
// one ending in "." or "!" does not.
QString withFullStop(const QString& text);

} // namespace tavu
