#pragma once

#include <windows.h>

#include "session/task_icons.h"

namespace quorvel {

// Draws one of the editor's own pictures over the 32 x 32 square at the origin of `dc`,
// which is white already.
void DrawStoredPicture(HDC dc, StoredPicture picture);

}  // namespace quorvel
