// Reads arbitrary bytes as a settings file. Its lines, written and read again, are the same
// lines; each line reads as an integer and as a Boolean or fails with the runtime's text for
// it, and what it reads as is written back in a form that reads the same.

#include <cstdint>
#include <cstdlib>
#include <span>

#include "app/settings_lines.h"
#include "common/error.h"
#include "common/text.h"

namespace {

using quorvel::Error;

// Runs a reader that must either succeed or fail with exactly the expected text.
template <typename Read>
void ExpectReadOrError(Read read, const std::u16string& expectedError) {
    try {
        read();
    } catch (const Error& error) {
        if (error.Message() != expectedError) std::abort();
    }
}

void CheckLine(const std::u16string& line) {
    ExpectReadOrError(
        [&] {
            const std::int32_t number = quorvel::IntegerLine(line);
            if (quorvel::IntegerLine(quorvel::ToText(number)) != number) std::abort();
            if (quorvel::BooleanLine(line) != (number != 0)) std::abort();
        },
        quorvel::InvalidIntegerText(line));
    ExpectReadOrError(
        [&] {
            const bool value = quorvel::BooleanLine(line);
            if (quorvel::BooleanLine(quorvel::BooleanLineText(value)) != value) std::abort();
        },
        quorvel::InvalidBooleanText(line));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const quorvel::SettingsLines lines = quorvel::SplitLines(std::span(data, size));
    if (quorvel::SplitLines(quorvel::JoinLines(lines)) != lines) std::abort();
    for (const auto& line : lines) CheckLine(line);
    const int count = static_cast<int>(lines.size());
    for (const int missing : {-1, count}) {
        ExpectReadOrError(
            [&] {
                quorvel::LineAt(lines, missing);
                std::abort();
            },
            quorvel::ListIndexErrorText(missing));
    }
    return 0;
}
