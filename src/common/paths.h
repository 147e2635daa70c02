#pragma once

#include <string>
#include <string_view>

namespace quorvel {

// The folder of a full path: everything before its last "\" (or "/"), without the separator.
std::u16string FolderOf(std::u16string_view fullPath);

// "<executable's folder>\data\<name>": where every data file of the program lives.
std::u16string DataFilePath(std::u16string_view executablePath, std::u16string_view name);

// The application title: the executable's file name up to its first dot ("Quorvel").
std::u16string ApplicationTitle(std::u16string_view executablePath);

}  // namespace quorvel
