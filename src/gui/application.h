#pragma once

#include <QApplication>

namespace tavu {

inline constexpr char kApplicationTitle[] = "Velkor User Commands Creator";

// The application object. An error that no handler catches ends that handler
// and is shown in the standard error box; the program goes on running.
class Application : public QApplication {
    Q_OBJECT
public:
    Application(int& argc, char** argv);

    bool notify(QObject* receiver, QEvent* event) override;
};

} // namespace tavu
