#pragma once
// Why the drill will not use what stands at a log's or a journal's name, in
// words that say what the student meets.  Every system reports its refusals
// in these words, always as error 75.

#include <string_view>

namespace qadrill::refusal {

inline constexpr std::string_view ownedByAnother = "Another user owns this file";
inline constexpr std::string_view secondName = "This file has a second name (a hard link)";
inline constexpr std::string_view notAFile = "Not a regular file";
inline constexpr std::string_view aLink = "A symbolic link stands at this name";
inline constexpr std::string_view othersMayWrite = "Other users may write this file";
// Where the file system keeps no owners, nobody can tell whose a file is.
inline constexpr std::string_view unknownOwner = "This folder keeps no owners of files";

}  // namespace qadrill::refusal
