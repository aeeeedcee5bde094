#pragma once
// Walks logs of notes records written by test writers (log_record_writer)
// record by record, and the folder they share.

#include <stdlib.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <system_error>

#include "tests/support/FileBytes.h"
#include "tests/support/TempDir.h"

namespace qadrill::testing {

// The letters a sized record carries: one letter per record, so a record
// cut short or joined to another shows.
inline std::string fillerOf(int record, std::size_t size) {
    return std::string(size, static_cast<char>('a' + record % 26));
}

inline const std::string separator = "......!!!!!!!!...................................";
inline const std::string closing(49, '.');
inline const std::string indent(36, ' ');

// A notes record up to the end of its number.
inline std::string recordHead(int writer, int record) {
    return separator + "\r\n" + indent + "23:05:36\r\n" + indent + "12-07-202623:05:36\r\n" + "question of writer " +
           std::to_string(writer) + "\r\n" + separator + "\r\n" + "NOTES -------> writer " + std::to_string(writer) +
           " record " + std::to_string(record);
}

// One notes record of one writer as the given log holds it; a sized record
// carries `filler` letters after its size.
inline std::string expectedRecord(int writer, int record, bool master, std::optional<std::size_t> filler = {}) {
    std::string bytes = recordHead(writer, record);
    if (filler) bytes += " size " + std::to_string(*filler) + ":" + fillerOf(record, *filler);
    return bytes + "\r\n" + closing + (master ? "\r\n" : "       ");
}

struct Tally {
    bool intact = true;
    std::map<int, int> recordsOf;  // writer -> records found, in order
};

// Walks the log record by record; each must be the next one of its writer.
inline Tally tally(const std::string& log, bool master) {
    Tally result;
    const std::string lead =
        separator + "\r\n" + indent + "23:05:36\r\n" + indent + "12-07-202623:05:36\r\n" + "question of writer ";
    std::size_t at = 0;
    while (at < log.size()) {
        if (log.compare(at, lead.size(), lead) != 0) return result.intact = false, result;
        const int writer = std::atoi(log.c_str() + at + lead.size());
        const int index = result.recordsOf[writer];
        const std::string sizedMark = recordHead(writer, index) + " size ";
        std::optional<std::size_t> filler;
        if (log.compare(at, sizedMark.size(), sizedMark) == 0)
            filler = std::strtoull(log.c_str() + at + sizedMark.size(), nullptr, 10);
        const std::string record = expectedRecord(writer, index, master, filler);
        if (log.compare(at, record.size(), record) != 0) return result.intact = false, result;
        ++result.recordsOf[writer];
        at += record.size();
    }
    return result;
}

// Logs on tmpfs where there is one: the test is about interleaving, not about
// waiting for 48,000 syncs of a real disk.
class SharedLogDir final {
public:
    SharedLogDir() {
        std::string pattern = std::filesystem::is_directory("/dev/shm") ? "/dev/shm/qadrill-XXXXXX"
                                                                        : (fallback_.path() / "XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp " + pattern);
        path_ = pattern;
    }
    ~SharedLogDir() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    SharedLogDir(const SharedLogDir&) = delete;
    SharedLogDir& operator=(const SharedLogDir&) = delete;
    [[nodiscard]] const std::filesystem::path& path() const { return path_; }

private:
    TempDir fallback_;
    std::filesystem::path path_;
};

}  // namespace qadrill::testing
