#pragma once

#include <QApplication>

#include <memory>

namespace tavu {

class TMainForm;
class TEditForm;
class TAboutForm;
class TTranslateForm;
class TPreviewForm;
class Session;

inline constexpr char kApplicationTitle[] = "Velkor User Commands Creator";

// The application object. An error that no handler catches ends that handler
// and is shown in the standard error box; the program goes on running.
class Application : public QApplication {
    Q_OBJECT
public:
    Application(int& argc, char** argv);

    bool notify(QObject* receiver, QEvent* event) override;
};

// The program's five windows on one session. Creating them sets the
// application title, then creates the main window and the Easy Editor, the
// About window, the Translator and the Menu preview, in that order; the last
// four stay hidden until asked for.
class Windows {
public:
    explicit Windows(Session& session);
    ~Windows();
    Windows(const Windows&) = delete;
    Windows& operator=(const Windows&) = delete;

    TMainForm& mainForm() { return *mainForm_; }
    TEditForm& editForm() { return *editForm_; }
    TAboutForm& aboutForm() { return *aboutForm_; }
    TTranslateForm& translateForm() { return *translateForm_; }
    TPreviewForm& previewForm() { return *previewForm_; }

private:
    std::unique_ptr<TMainForm> mainForm_;
    std::unique_ptr<TEditForm> editForm_;
    std::unique_ptr<TAboutForm> aboutForm_;
    std::unique_ptr<TTranslateForm> translateForm_;
    std::unique_ptr<TPreviewForm> previewForm_;
};

} // namespace tavu
