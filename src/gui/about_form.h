#pragma once

#include "secondary_form.h"

class QLabel;

namespace tavu {

class LinkLabel;

inline constexpr char kWebsiteTarget[] = "https://github.com/tavu-hub/tavu";
inline constexpr char kForumTarget[] = "https://github.com/tavu-hub/tavu/issues";
inline constexpr char kEmailTarget[] = "mailto:tavu-hub@users.noreply.github.com";

// The About window: what the program is, its version, who makes it, and links
// to the project's pages and its contact address.
class TAboutForm : public SecondaryForm {
    Q_OBJECT
public:
    TAboutForm();

private slots:
    void WebsiteLabelClick();
    void ForumLabelClick();
    void EmailLabelClick();

private:
    void buildControls();
    QLabel* placeLabel(const char* name, int top, const QString& text);
    LinkLabel* placeLink(const char* name, int top, const char* caption);

    QLabel* DescriptionLabel;
    QLabel* VersionLabel;
    QLabel* MakerLabel;
    LinkLabel* WebsiteLabel;
    LinkLabel* ForumLabel;
    LinkLabel* EmailLabel;
};

} // namespace tavu
