// Resource ids of the About dialog's pictures, compiled into Quorvel.exe.
#pragma once

#define IDI_PRODUCT 201
#define IDI_ABOUT_OK 202
