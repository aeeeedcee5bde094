#pragma once
// The bytes of a journal, one file per log set, overwritten in place by each
// command: magic, state, generation, total length, the logs' folder, then per
// log its file number, name, size before the command and record, and last a
// checksum of everything but the state.  The state is the one byte rewritten
// in place when a command is done or abandoned; an overwrite torn by a crash
// fails the checksum, as the generation and length sit beside the state.
// Numbers are little-endian.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qadrill {

inline constexpr std::string_view journalMagic = "QADJRNL2";
inline constexpr std::size_t stateOffset = journalMagic.size();
// Magic, state, generation and length: enough to tell a finished journal.
inline constexpr std::size_t journalHeaderSize = stateOffset + 1 + 8 + 8;

// A whole journal is rolled forward; one marked failed is rolled back; one
// marked done needs nothing.
inline constexpr char rollForward = 'F';
inline constexpr char rollBack = 'B';
inline constexpr char done = 'D';

struct JournalEntry {
    int fileNumber = 0;
    std::string name;  // the log's name in the folder, UTF-8
    std::uint64_t offset = 0;
    std::string bytes;
};

struct JournalContents {
    char state = rollForward;
    std::uint64_t generation = 0;
    std::filesystem::path folder;
    std::vector<JournalEntry> entries;
};

// What the first bytes of a journal say, before the rest is read.
struct JournalHeader {
    char state = done;
    std::uint64_t generation = 0;
    std::uint64_t length = 0;
};

[[nodiscard]] std::string encodeJournal(const JournalContents& contents);
// The header, or nullopt when the bytes are not the start of a journal.
[[nodiscard]] std::optional<JournalHeader> decodeHeader(std::string_view bytes);
// The contents, or nullopt when the bytes are torn or not a journal: such a
// journal was never synced, so no log was touched under it.  Bytes after the
// recorded length are an older, longer journal's and are ignored.
[[nodiscard]] std::optional<JournalContents> decodeJournal(std::string_view bytes);

// A 64-bit checksum taken eight bytes at a time; it finds tears, it does not
// authenticate (the journal lives where only its owner writes).
[[nodiscard]] std::uint64_t wordChecksum(std::string_view bytes, std::uint64_t seed = 0x9E3779B97F4A7C15ULL);
// A path as UTF-8 bytes, the same on every system.
[[nodiscard]] std::string pathBytes(const std::filesystem::path& path);

}  // namespace qadrill
