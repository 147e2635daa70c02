#include "common/error.h"

#include "common/text.h"

namespace quorvel {

namespace {

// A line of a settings file or a cell of the task file, as the runtime's texts quote it; the
// file may hold anything, and the message stays one short line.
constexpr std::size_t kLongestQuotedValue = 40;

std::u16string QuotedValue(std::u16string_view s) {
    return u"'" + VisibleText(s, kLongestQuotedValue) + u"'";
}

}  // namespace

Error::Error(std::u16string message) : message_(std::move(message)), utf8_(ToUtf8(message_)) {}

std::u16string ListIndexErrorText(std::int64_t index) {
    return u"List index out of bounds (" + ToText(index) + u")";
}

std::u16string InvalidIntegerText(std::u16string_view s) {
    return QuotedValue(s) + u" is not a valid integer value";
}

std::u16string InvalidBooleanText(std::u16string_view s) {
    return QuotedValue(s) + u" is not a valid boolean value";
}

std::u16string IoErrorText(std::uint32_t code) {
    switch (code) {
        case 2:
            return u"File not found";
        case 3:
            return u"Invalid filename";
        case 4:
            return u"Too many open files";
        case 5:
            return u"File access denied";
        case 19:
            return u"The disk is write-protected";
        case 21:
            return u"The drive is not ready";
        case 23:
            return u"The disk cannot be read";
        case 32:
            return u"The file is in use by another program";
        case 33:
            return u"Part of the file is locked by another program";
        case 38:
            return u"The file was cut short while it was read";
        case 101:
            return u"Disk full";
        default:
            return u"I/O error " + ToText(code);
    }
}

std::u16string CannotOpenFileText(std::u16string_view fileName, std::u16string_view reason) {
    return u"Cannot open file \"" + std::u16string(fileName) + u"\". " + std::u16string(reason);
}

std::u16string ErrorBoxText(std::u16string_view message) {
    std::u16string text(message);
    if (!text.empty() && text.back() > u'.') text += u'.';
    return text;
}

}  // namespace quorvel
