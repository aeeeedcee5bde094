#pragma once
// The one place where log lines become bytes.  A command composes its record
// for each log in memory and hands them to the platform together, so the
// record lands whole in every log or in none, and two writers never
// interleave inside one.

#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/Platform.h"

namespace qadrill {

// The fixed file numbers of the logs.  codeFile, which never runs beside a
// record, takes the first two for the query file and its coded copy.
namespace logfile {
enum : int { master = 1, send = 2, notes = 3, query = 1, coded = 2 };
}  // namespace logfile

// The bytes of one record for one log file, freshly opened: it starts at column 1.
class LogRecord {
public:
    static constexpr int zoneWidth = 14;

    // Text in the logs' code page; inner line breaks (LF, CR LF, CR) become CR LF.
    LogRecord& text(std::u16string_view item);
    // Space (or minus sign), the magnitude's shortest decimal form, a space.
    LogRecord& number(double value);
    LogRecord& lineEnd();
    // Spaces up to the first column of the next print zone; no line end.
    LogRecord& zoneAdvance();

    [[nodiscard]] const std::string& bytes() const { return bytes_; }
    // The column the next byte lands in, counted from the last line end.
    [[nodiscard]] int column() const { return column_; }

private:
    // Bytes without line breaks.
    void put(std::string_view raw);
    // One line's worth of an item: text without line breaks.
    void putLine(std::u16string_view line);

    std::string bytes_;
    int column_ = 1;
    // The normal form of an item that is not already in it, kept for the next item.
    std::u16string normal_;
};

struct LogAppend {
    int fileNumber = 0;
    const LogRecord& record;
};

// The records of one command, all or none; throws RuntimeError as the
// platform does.
void appendRecords(Platform& platform, std::initializer_list<LogAppend> appends);

// The logs one command writes, all opened for appending before any is written
// and all closed when it ends, whether it succeeded or failed.
class OpenLogs {
public:
    // (file number, path) pairs, opened in this order; a number still open
    // from an earlier failure is closed first.  Throws RuntimeError, leaving
    // none of them open.
    OpenLogs(Platform& platform, std::initializer_list<std::pair<int, std::u16string>> logs);
    ~OpenLogs();
    OpenLogs(const OpenLogs&) = delete;
    OpenLogs& operator=(const OpenLogs&) = delete;

    void closeAll() noexcept;

private:
    Platform& platform_;
    std::vector<int> open_;
};

}  // namespace qadrill
