#pragma once

#include <windows.h>

#include "session/task_icons.h"

namespace quorvel {

// Draws one of the editor's own pictures, designed on 32 x 32 pixels, over the square of that
// size at the origin of `dc`, which is white already.
void DrawPicture(HDC dc, DrawnPicture picture, int size);

}  // namespace quorvel
