#pragma once
#include <string>
#include <string_view>

namespace tessmoor {

// Lower-cases UTF-8 text the way the system lower-cases file names: ASCII, Latin-1, Latin
// Extended-A, Greek, Cyrillic and full-width Latin letters; every other character, Japanese
// included, is left as it is. Bytes that are not valid UTF-8 are copied unchanged.
std::string LowerCase(std::string_view utf8);

// The extension of a path: the text from the last dot of its last component on, dot included;
// empty when the last component has no dot.
std::string_view FileExtension(std::string_view path);

// The folder part of a path with its trailing separator ("C:\\a\\b.jpg" gives "C:\\a\\").
std::string_view FolderOf(std::string_view path);

// Joins a folder and a file name with exactly one backslash.
std::string JoinPath(std::string_view folder, std::string_view name);

}  // namespace tessmoor
