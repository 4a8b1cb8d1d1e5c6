#pragma once

#include <QIcon>

namespace strumlet {

// The program's own picture: the window icon when the desktop theme has none, and the About
// box's picture.
QIcon ApplicationIcon();

}  // namespace strumlet
