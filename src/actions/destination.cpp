#include "actions/destination.h"

#include <algorithm>
#include <array>
#include <optional>

#include "common/text.h"

namespace quorvel {

namespace {

constexpr std::array<std::u16string_view, 3> kExtensions{u".exe", u".bat", u".com"};

std::optional<ProgramCommand> SplitQuotedProgram(std::u16string_view destination) {
    if (!destination.starts_with(u'"')) return std::nullopt;
    const std::size_t closing = destination.find(u'"', 1);
    if (closing == std::u16string_view::npos) return std::nullopt;
    std::u16string_view parameters = destination.substr(closing + 1);
    if (parameters.starts_with(u' ')) parameters.remove_prefix(1);
    return ProgramCommand{std::u16string(destination.substr(1, closing - 1)),
                          std::u16string(parameters)};
}

// Each extension is looked for in the file-name part, then split at its last occurrence.
ProgramCommand SplitAtLastExtensions(std::u16string_view destination) {
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

// The earliest ".exe ", ".bat " or ".com ".
std::optional<ProgramCommand> SplitAtFirstExtension(std::u16string_view destination) {
    const std::u16string lowered = AsciiLower(destination);
    std::size_t first = std::u16string::npos;
    for (const auto extension : kExtensions) {
        first = std::min(first, lowered.find(std::u16string(extension) + u' '));
    }
    if (first == std::u16string::npos) return std::nullopt;
    // All three extensions are four characters long, and a space follows.
    const std::size_t end = first + kExtensions[0].size();
    return ProgramCommand{std::u16string(destination.substr(0, end)),
                          std::u16string(destination.substr(end + 1))};
}

}  // namespace

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

bool IsFullPath(std::u16string_view path) {
    if (path.starts_with(u"\\\\")) return true;
    const bool driveLetter = path.size() >= 3 && AsciiLower(path[0]) >= u'a' &&
                             AsciiLower(path[0]) <= u'z' && path[1] == u':';
    return driveLetter && (path[2] == u'\\' || path[2] == u'/');
}

std::u16string_view OwnFolder(std::u16string_view path) {
    if (!IsFullPath(path)) return {};
    const std::size_t separator = path.find_last_of(u"\\/");
    if (separator < 2) return {};  // "\\server" alone
    // "C:" alone would be the drive's current folder, not its root.
    return path.substr(0, separator == 2 ? 3 : separator);
}

std::u16string_view WebAddress(std::u16string_view destination) {
    if (destination.size() >= 2 && destination.starts_with(u'"') && destination.ends_with(u'"')) {
        return destination.substr(1, destination.size() - 2);
    }
    return destination;
}

ProgramCommand SplitParameters(std::u16string_view destination) {
    if (auto quoted = SplitQuotedProgram(destination)) return std::move(*quoted);
    ProgramCommand command = SplitAtLastExtensions(destination);
    if (command.program.size() != destination.size()) return command;
    if (auto first = SplitAtFirstExtension(destination)) return std::move(*first);
    return command;
}

}  // namespace quorvel
