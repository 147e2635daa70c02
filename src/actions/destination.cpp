#include "actions/destination.h"

#include <array>

#include "common/text.h"

namespace quorvel {

std::size_t LastPos(std::u16string_view find, std::u16string_view text) {
    // Start positions near the end give pieces shorter than `find`, which never equal it.
    for (std::size_t start = text.size(); start >= 1; --start) {
        if (text.substr(start - 1, find.size()) == find) return start;
    }
    return 0;
}

std::u16string_view FileNamePart(std::u16string_view path) {
    const auto separator = path.find_last_of(u"\\:");
    return separator == std::u16string_view::npos ? path : path.substr(separator + 1);
}

ProgramCommand SplitParameters(std::u16string_view destination) {
    static constexpr std::array<std::u16string_view, 3> kExtensions{u".exe", u".bat", u".com"};
    ProgramCommand command{std::u16string(destination), {}};
    for (const auto extension : kExtensions) {
        // Lower-cased copies have the same length, so positions found in them hold for the
        // original text, whose letter case is kept.
        const std::u16string lowered = AsciiLower(command.program);
        if (FileNamePart(lowered).find(extension) == std::u16string_view::npos) continue;
        const std::size_t end = LastPos(extension, lowered) - 1 + extension.size();
        const std::u16string_view rest = std::u16string_view(lowered).substr(end);
        if (rest.find(u' ') == std::u16string_view::npos) continue;
        command.parameters = command.program.substr(end + 1);
        command.program.resize(end);
    }
    return command;
}

}  // namespace quorvel
