#pragma once
// The drill names files by drive-letter paths ("c:\plovenda\notes_Ann.txt").
// A drive map says where each drive's root lies on this machine; the rest of
// the path follows below it with backslashes as separators.

#include <filesystem>
#include <functional>
#include <optional>
#include <string>

namespace qadrill {

// Native root for a lower-case drive letter ('a'..'z').
using DriveMap = std::function<std::filesystem::path(char16_t lowerDriveLetter)>;

// The drives of this system (DesktopDrivesPosix.cpp, DesktopDrivesWin32.cpp):
// on POSIX drive c is the user's home directory and any other drive x is
// /mnt/x; on Windows every drive is itself, so a drill path is the native one.
[[nodiscard]] DriveMap desktopDriveMap();

// Every drive x under root/x, for tests that must not touch the real disks.
[[nodiscard]] DriveMap driveMapUnder(const std::filesystem::path& root);

// The native path, or nullopt when the text is not a drive-letter path.
[[nodiscard]] std::optional<std::filesystem::path> nativePath(const std::u16string& drillPath, const DriveMap& map);

}  // namespace qadrill
