// Resource ids of Quorvel.exe, shared by the resource script and the code.
#pragma once

#define IDI_QUORVEL 1
#define IDI_QUORVEL_PAUSED 2
#define IDI_ADD 101
#define IDI_EDIT 102
#define IDI_DELETE 103
#define IDI_DELETE_ALL 104
#define IDI_MOVE_DOWN 105
#define IDI_MOVE_UP 106
#define IDI_SAVE 107
