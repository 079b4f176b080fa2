// The tree's three 16 x 16 images, drawn here rather than loaded from files.
#pragma once

#include <QIcon>

namespace kelvara::vornal {

QIcon KeyIcon();
QIcon ValueIcon();
QIcon ComputerIcon();

}  // namespace kelvara::vornal
