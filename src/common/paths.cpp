#include "common/paths.h"

namespace quorvel {

namespace {
std::size_t LastSeparator(std::u16string_view path) { return path.find_last_of(u"\\/"); }
}  // namespace

std::u16string FolderOf(std::u16string_view fullPath) {
    const std::size_t sep = LastSeparator(fullPath);
    return sep == std::u16string_view::npos ? std::u16string()
                                            : std::u16string(fullPath.substr(0, sep));
}

std::u16string DataFilePath(std::u16string_view executablePath, std::u16string_view name) {
    return FolderOf(executablePath) + u"\\data\\" + std::u16string(name);
}

std::u16string ApplicationTitle(std::u16string_view executablePath) {
    const std::size_t sep = LastSeparator(executablePath);
    std::u16string_view name =
        sep == std::u16string_view::npos ? executablePath : executablePath.substr(sep + 1);
    return std::u16string(name.substr(0, name.find(u'.')));
}

}  // namespace quorvel
