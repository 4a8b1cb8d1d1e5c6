#pragma once

class QWidget;

namespace strumlet {

// The About box: the program's picture, its version and what it is for, and an OK button.
// Modal over `parent`; returns when it is closed.
void ShowAboutBox(QWidget* parent);

}  // namespace strumlet
