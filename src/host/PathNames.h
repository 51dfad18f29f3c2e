// Small path routines of the host layer; paths are UTF-16 and cross to the file system as UTF-8.
#pragma once

#include <string>

namespace skribo {

// Adds "/" unless the path ends with one; an empty path becomes "/".
std::u16string IncludeTrailingPathDelimiter(std::u16string path);
// Something that is not a folder exists at path.
bool FileExists(const std::u16string& path);
bool DirectoryExists(const std::u16string& path);

}  // namespace skribo
