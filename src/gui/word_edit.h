#pragma once

#include <QLineEdit>

namespace tavu {

class InsertionFilter;

// The edit field of one vocabulary word. "|" and "$" would end or start an NMDC
// command inside a menu word, so neither is taken in, however it arrives:
// typed, pasted, dropped or composed. Text the program puts in with `showWord`
// is taken as it is, so a word read from the settings file keeps them.
class WordEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit WordEdit(QWidget* parent);

    void showWord(const QString& text);

    // Why the word as it stands would break the menu, or "" when it would not:
    // the field is framed in red while there is a reason.
    void setProblem(const QString& problem);
    const QString& problem() const { return problem_; }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    InsertionFilter* filter_;
    QString problem_;
};

} // namespace tavu
