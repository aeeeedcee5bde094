#pragma once
// The three log paths of a run, from the data directory, the student's name
// and the date.  A name may hold anything a student can type; the file names
// must still land in the data directory and be creatable.

#include <cstddef>
#include <string>
#include <string_view>

namespace qadrill {

struct FileNameRules {
    std::size_t maxNameBytes = 255;   // longest file name the file system takes, in UTF-8 bytes
    bool windowsDeviceNames = false;  // CON, PRN, AUX, NUL, COM1-9, LPT1-9 need a "_" after them
};

// The student's name as it stands in the log file names: spaces and every
// character that cannot stand in a file name become "_", and the result is
// cut, between whole characters, so the longest log file name fits.
[[nodiscard]] std::u16string fileNamePart(std::u16string_view studentName, const FileNameRules& rules = {});

struct LogPaths {
    std::u16string masterFile;
    std::u16string sendFile;
    std::u16string notesFile;
};

// month and day are the two-digit texts taken from the date.
[[nodiscard]] LogPaths logPaths(std::u16string_view dataDir, std::u16string_view studentName, std::u16string_view month,
                                std::u16string_view day, const FileNameRules& rules = {});

}  // namespace qadrill
