#pragma once

// Controls created at their place on a window with a fixed layout.

#include <QRect>
#include <QString>
#include <QWidget>

namespace tavu {

// Creates a control at its place. Its hint goes into the status tip, which Qt
// reports to the window when the pointer enters or leaves the control; such a
// control has no tool tip, so its hint never pops up.
template <typename Control>
Control* place(QWidget* form, const char* name, QRect geometry, const char* hint) {
    auto* control = new Control(form);
    control->setObjectName(QString::fromLatin1(name));
    control->setGeometry(geometry);
    control->setStatusTip(QString::fromUtf8(hint));
    return control;
}

template <typename Control>
Control* placeWithCaption(QWidget* form, const char* name, QRect geometry, const char* caption,
                          const char* hint) {
    Control* control = place<Control>(form, name, geometry, hint);
    control->setText(QString::fromUtf8(caption));
    return control;
}

} // namespace tavu
