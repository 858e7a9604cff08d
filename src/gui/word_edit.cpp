#include "word_edit.h"

#include "vocabulary/vocabulary.h"

#include <QKeyEvent>
#include <QPainter>
#include <QValidator>

#include <algorithm>

namespace tavu {

namespace {

bool isRejected(QChar c) {
    return !isAcceptedWordCharacter(c.unicode());
}

qsizetype commonPrefixLength(const QString& a, const QString& b) {
    const qsizetype limit = std::min(a.size(), b.size());
    qsizetype length = 0;
    while (length < limit && a[length] == b[length]) {
        ++length;
    }
    return length;
}

qsizetype commonSuffixLength(const QString& a, const QString& b, qsizetype limit) {
    qsizetype length = 0;
    while (length < limit && a[a.size() - 1 - length] == b[b.size() - 1 - length]) {
        ++length;
    }
    return length;
}

} // namespace

// Every change to the field passes here, whatever made it. What the change put
// in is the run of text by which the new text differs from the last accepted
// one; only that run loses its "|" and "$", so the characters already in the
// word stay.
class InsertionFilter : public QValidator {
public:
    explicit InsertionFilter(QObject* parent) : QValidator(parent) {}

    void accept(const QString& text) { accepted_ = text; }

    State validate(QString& input, int& cursor) const override {
        const qsizetype prefix = commonPrefixLength(accepted_, input);
        const qsizetype suffix =
            commonSuffixLength(accepted_, input, std::min(accepted_.size(), input.size()) - prefix);
        const qsizetype insertedEnd = input.size() - suffix;
        QString filtered = input.left(prefix);
        int removedBeforeCursor = 0;
        for (qsizetype i = prefix; i < insertedEnd; ++i) {
            if (!isRejected(input[i])) {
                filtered += input[i];
            } else if (i < cursor) {
                ++removedBeforeCursor;
            }
        }
        cursor -= removedBeforeCursor;
        filtered += input.right(suffix);
        input = filtered;
        return Acceptable;
    }

private:
    QString accepted_;
};

WordEdit::WordEdit(QWidget* parent) : QLineEdit(parent), filter_(new InsertionFilter(this)) {
    setValidator(filter_);
    connect(this, &QLineEdit::textChanged, this, [this](const QString& text) { filter_->accept(text); });
}

void WordEdit::showWord(const QString& text) {
    filter_->accept(text);
    setText(text);
    // A word longer than its field shows its beginning, not its end.
    setCursorPosition(0);
}

void WordEdit::setProblem(const QString& problem) {
    if (problem != problem_) {
        problem_ = problem;
        update();
    }
}

void WordEdit::paintEvent(QPaintEvent* event) {
    QLineEdit::paintEvent(event);
    if (problem_.isEmpty()) {
        return;
    }
    // Drawn over the field's own frame, so that the field keeps the style's look.
    QPainter painter(this);
    painter.setPen(QPen(Qt::red, 2));
    painter.drawRect(rect().adjusted(1, 1, -1, -1));
}

void WordEdit::keyPressEvent(QKeyEvent* event) {
    // A typed "|" or "$" is dropped before it reaches the text, which keeps the
    // field's undo history; the filter would take it out again only afterwards.
    const QString typed = event->text();
    if (!typed.isEmpty() && std::all_of(typed.begin(), typed.end(), isRejected)) {
        event->accept();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

} // namespace tavu
