#include "about_form.h"

#include "link_label.h"
#include "link_opener.h"
#include "version.h"

#include <QUrl>

#include <algorithm>

namespace tavu {

namespace {

constexpr char kDescription[] = "Description: TAVU is a tool for creating ready user commands\n"
                                "by Velkor profile settings.";
constexpr char kVersionCaption[] = "Version: ";
constexpr char kMakerLine[] = "Made by the TAVU developers";
constexpr int kLeft = 16;
constexpr int kRightMargin = 8;
constexpr QSize kSize(329, 153);

} // namespace

TAboutForm::TAboutForm() : SecondaryForm(QStringLiteral("About"), {}) {
    buildControls();
}

void TAboutForm::buildControls() {
    DescriptionLabel = placeLabel("DescriptionLabel", 16, QString::fromUtf8(kDescription));
    VersionLabel =
        placeLabel("VersionLabel", 56, QString::fromUtf8(kVersionCaption) + QString::fromUtf8(kVersion));
    MakerLabel = placeLabel("MakerLabel", 72, QString::fromUtf8(kMakerLine));
    WebsiteLabel = placeLink("WebsiteLabel", 96, "Website");
    ForumLabel = placeLink("ForumLabel", 112, "Forum");
    EmailLabel = placeLink("EmailLabel", 128, "Email");
    // Wide enough for its labels, should the font come out wider than the
    // layout expects, with a margin on the right.
    setFixedSize(std::max(kSize.width(), childrenRect().right() + 1 + kRightMargin), kSize.height());
    connect(WebsiteLabel, &LinkLabel::clicked, this, &TAboutForm::WebsiteLabelClick);
    connect(ForumLabel, &LinkLabel::clicked, this, &TAboutForm::ForumLabelClick);
    connect(EmailLabel, &LinkLabel::clicked, this, &TAboutForm::EmailLabelClick);
}

// Each label is as large as its text, so that none is clipped with the
// system's rendering of the font.
QLabel* TAboutForm::placeLabel(const char* name, int top, const QString& text) {
    auto* label = new QLabel(text, this);
    label->setObjectName(QString::fromLatin1(name));
    label->move(kLeft, top);
    label->adjustSize();
    return label;
}

LinkLabel* TAboutForm::placeLink(const char* name, int top, const char* caption) {
    auto* link = new LinkLabel(QString::fromUtf8(caption), this);
    link->setObjectName(QString::fromLatin1(name));
    // As large as its caption, so that only a click on the word opens the link.
    link->move(kLeft, top);
    link->adjustSize();
    return link;
}

void TAboutForm::WebsiteLabelClick() {
    LinkOpener::open(QUrl(QString::fromLatin1(kWebsiteTarget)));
}

void TAboutForm::ForumLabelClick() {
    LinkOpener::open(QUrl(QString::fromLatin1(kForumTarget)));
}

void TAboutForm::EmailLabelClick() {
    LinkOpener::open(QUrl(QString::fromLatin1(kEmailTarget)));
}

} // namespace tavu
