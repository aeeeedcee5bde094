#pragma once
// The bytes of a journal: magic, state, entry count, then per log its file
// number, path, size before the command and record, and last a checksum of
// everything but the state.  The state is the one byte rewritten in place
// when a failed command is abandoned.  Numbers are little-endian.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qadrill {

inline constexpr std::string_view journalMagic = "QADJRNL1";
inline constexpr std::size_t stateOffset = journalMagic.size();
// A whole journal is rolled forward; one marked failed is rolled back.
inline constexpr char rollForward = 'F';
inline constexpr char rollBack = 'B';

struct JournalEntry {
    int fileNumber = 0;
    std::filesystem::path path;
    std::uint64_t offset = 0;
    std::string bytes;
};

struct JournalContents {
    char state = rollForward;
    std::vector<JournalEntry> entries;
};

[[nodiscard]] std::string encodeJournal(const JournalContents& contents);
// The contents, or nullopt when the bytes are torn or not a journal: such a
// journal was never synced, so no log was touched under it.
[[nodiscard]] std::optional<JournalContents> decodeJournal(std::string_view bytes);

// 64-bit FNV-1a: the checksum, and the hash that keeps cut names apart.
[[nodiscard]] std::uint64_t fnv1a(std::string_view bytes, std::uint64_t hash = 14695981039346656037ULL);
// A path as UTF-8 bytes, the same on every system.
[[nodiscard]] std::string pathBytes(const std::filesystem::path& path);

}  // namespace qadrill
