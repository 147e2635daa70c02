#pragma once

#include <cstdint>
#include <string>

namespace quorvel {

// The full path of the running executable.
std::u16string ExecutablePath();

// The system's description of an error code without its closing line break; empty when the
// system has none. The program's one reading of the system's message table.
std::u16string SystemErrorText(std::uint32_t code);

}  // namespace quorvel
