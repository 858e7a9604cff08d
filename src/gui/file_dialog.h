#pragma once

#include "answered_in_advance.h"

#include <QString>

#include <optional>

class QWidget;

namespace tavu {

// The program's file-open dialog, behind one call so that a test can choose the
// file in advance instead of having a modal dialog block it.
class FileDialog {
public:
    struct Request {
        QString caption;
        QString startFile;
        QString filter;
    };

    // Asks for one existing file in an existing folder, starting with
    // `startFile` selected. Empty when the operator cancels.
    static QString getOpenFileName(QWidget* parent, const QString& caption, const QString& startFile,
                                   const QString& filter);

    // The next dialog is not shown; it is noted and answered with `fileName`
    // (empty: cancelled).
    static void setNextFileName(const QString& fileName);
    // The last dialog asked for, shown or answered in advance; forgets it.
    static std::optional<Request> takeLastRequest();
    // Forgets what was asked and the answers not used, so that nothing of one
    // test reaches the next.
    static void forget();

private:
    static AnsweredInAdvance<Request, QString>& prompts();
};

} // namespace tavu
