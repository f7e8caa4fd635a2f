// Painting as the queue sees it (see paint.cpp).
#pragma once

#include <windows.h>

namespace win32core {

// WM_PAINT for the first visible window with something to paint, if any.
bool TakePaintMessage(MSG* msg);

}  // namespace win32core
