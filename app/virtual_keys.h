// Qt key events as the virtual-key codes and shift masks the handlers take.
#pragma once

#include <QKeyEvent>
#include <cstdint>

namespace cubrix {

std::int16_t virtualKeyCode(const QKeyEvent& event);
std::int16_t shiftMask(Qt::KeyboardModifiers modifiers);  // 1 Shift, 2 Ctrl, 4 Alt

}  // namespace cubrix
