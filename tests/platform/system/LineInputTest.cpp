// Reading a file line by line: every kind of line end, in any chunking.
#include <gtest/gtest.h>

#include <cerrno>
#include <fstream>
#include <string>
#include <vector>

#include "platform/RuntimeError.h"
#include "platform/system/LineBuffer.h"
#include "tests/support/ErrorOf.h"
#include "tests/support/RowName.h"
#include "tests/support/ScriptedPlatform.h"
#include "tests/support/TempDir.h"

namespace qadrill::testing {
namespace {

using qadrill::testing::PrintTo;

struct LinesRow {
    const char* name;
    std::string bytes;
    std::vector<std::string> lines;
};

std::vector<std::string> readAll(LineBuffer& buffer, const LineBuffer::Refill& refill) {
    std::vector<std::string> lines;
    while (!buffer.atEnd(refill)) {
        auto line = buffer.nextLine(refill);
        if (!line) break;
        lines.push_back(*line);
    }
    return lines;
}

class Lines : public ::testing::TestWithParam<LinesRow> {};

// Chunks of every size, so a CR LF split across two reads is met too.
TEST_P(Lines, SplitTheSameInAnyChunking) {
    const LinesRow& row = GetParam();
    for (std::size_t chunk = 1; chunk <= row.bytes.size() + 1; ++chunk) {
        std::size_t at = 0;
        const LineBuffer::Refill refill = [&] {
            std::string piece = row.bytes.substr(at, chunk);
            at += piece.size();
            return piece;
        };
        LineBuffer buffer;
        EXPECT_EQ(readAll(buffer, refill), row.lines) << "chunks of " << chunk;
        EXPECT_EQ(buffer.nextLine(refill), std::nullopt);
    }
}

INSTANTIATE_TEST_SUITE_P(Rows, Lines,
                         ::testing::Values(LinesRow{"crlf", "one\r\ntwo\r\n", {"one", "two"}},
                                           LinesRow{"lf", "one\ntwo\n", {"one", "two"}},
                                           LinesRow{"lone_cr", "one\rtwo\r", {"one", "two"}},
                                           LinesRow{"last_line_without_end", "one\r\ntwo", {"one", "two"}},
                                           LinesRow{"empty_lines_kept", "\r\n\r\nx\n\n", {"", "", "x", ""}},
                                           LinesRow{"lf_cr_is_two_ends", "a\n\rb", {"a", "", "b"}},
                                           LinesRow{"cr_cr_lf", "a\r\r\nb", {"a", "", "b"}},
                                           LinesRow{"mixed", "a\rb\nc\r\nd", {"a", "b", "c", "d"}},
                                           LinesRow{"high_bytes_and_nul",
                                                    std::string("\xe9t\xe9\0z\r\n", 7),
                                                    {std::string("\xe9t\xe9\0z", 5)}},
                                           LinesRow{"empty_file", "", {}}, LinesRow{"only_a_line_end", "\r\n", {""}}),
                         rowName);

class FileInput : public ::testing::Test {
protected:
    TempDir dir;
    ScriptedPlatform platform{dir.path()};
    void put(const std::string& bytes) { std::ofstream(dir.path() / "c" / "notes.txt", std::ios::binary) << bytes; }
    int errorOfLineInput() {
        return errorOf([&] { (void)platform.lineInput(3); });
    }
};

TEST_F(FileInput, ReadsLinesThenReportsEndAndInputPastEnd) {
    put("first\r\nsecond\rthird\nlast");
    platform.open(3, u"c:\\notes.txt", FileMode::Input);
    std::vector<std::string> lines;
    while (!platform.endOfFile(3)) lines.push_back(platform.lineInput(3));
    EXPECT_EQ(lines, (std::vector<std::string>{"first", "second", "third", "last"}));
    EXPECT_EQ(errorOfLineInput(), err::deviceIo);
}

TEST_F(FileInput, EmptyFileIsAtEndAtOnce) {
    put("");
    platform.open(3, u"c:\\notes.txt", FileMode::Input);
    EXPECT_TRUE(platform.endOfFile(3));
    EXPECT_EQ(errorOfLineInput(), err::deviceIo);
}

TEST_F(FileInput, LongFileCrossesReadChunks) {
    std::string bytes;
    for (int i = 0; i < 20000; ++i) bytes += "line " + std::to_string(i) + "\r\n";
    put(bytes);
    platform.open(3, u"c:\\notes.txt", FileMode::Input);
    int count = 0;
    while (!platform.endOfFile(3)) EXPECT_EQ(platform.lineInput(3), "line " + std::to_string(count++));
    EXPECT_EQ(count, 20000);
}

TEST_F(FileInput, ReadFaultGives57AndReopeningReadsAgain) {
    put("only\r\n");
    platform.open(3, u"c:\\notes.txt", FileMode::Input);
    platform.failNext(FileOperation::read, EIO);
    EXPECT_EQ(errorOfLineInput(), err::deviceIo);
    platform.close(3);
    platform.open(3, u"c:\\notes.txt", FileMode::Input);
    EXPECT_EQ(platform.lineInput(3), "only");
}

}  // namespace
}  // namespace qadrill::testing
