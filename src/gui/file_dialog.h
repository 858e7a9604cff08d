#pragma once

#include "answered_in_advance.h"

#include <QString>

#include <functional>
#include <optional>

class QWidget;

namespace tavu {

// The program's file dialogs, behind one call each so that a test can choose the
// file in advance instead of having a modal dialog block it.
class FileDialog {
public:
    enum class Purpose { open, save };

    struct Request {
        Purpose purpose;
        QString caption;
        QString startFile;
        QString filter;
    };

    // Asks for one existing file in an existing folder, starting with
    // `startFile` selected. Empty when the operator cancels.
    static QString getOpenFileName(QWidget* parent, const QString& caption, const QString& startFile,
                                   const QString& filter);
    // Asks for a file to write, new or existing (replacing one is confirmed
    // first), starting with `startFile` filled in; a name typed without an
    // extension gets `defaultSuffix`. Empty when the operator cancels.
    static QString getSaveFileName(QWidget* parent, const QString& caption, const QString& startFile,
                                   const QString& filter,
                                   const QString& defaultSuffix = QStringLiteral("ini"));

    // The next dialog is not shown; it is noted and answered with `fileName`
    // (empty: cancelled).
    static void setNextFileName(const QString& fileName);
    // The last dialog asked for, shown or answered in advance; forgets it.
    static std::optional<Request> takeLastRequest();
    // Forgets what was asked and the answers not used, so that nothing of one
    // test reaches the next.
    static void forget();
    // From now on a dialog not answered in advance is not shown: `report` gets
    // its caption, and it is cancelled.
    static void refuseUnanswered(const std::function<void(const QString&)>& report);
    // Shows dialogs not answered in advance again, for a test of the dialog itself.
    static void showUnanswered();

private:
    static AnsweredInAdvance<Request, QString>& prompts();
};

} // namespace tavu
