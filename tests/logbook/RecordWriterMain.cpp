// log_record_writer DATA_ROOT WRITER_ID COUNT whole|lines|sized [SEED MAX_BYTES]
//
// Appends COUNT notes records of one writer to the three logs under
// DATA_ROOT/c/plovenda, through the real recording command on the host
// platform.  "lines" sends every line with its own write instead of one
// write per record: the fault the concurrency test must be able to see.
// "sized" pads each record with a random number (below MAX_BYTES, spread
// evenly over the orders of magnitude) of one letter, for the test that kills writers halfway.
// Exit status 0 on success, 1 on a run-time error, 2 on bad arguments.

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <random>
#include <string>
#include <string_view>

#include "logbook/ResponseRecords.h"
#include "platform/RuntimeError.h"
#include "tests/support/FakeView.h"
#include "tests/support/HeadlessPlatform.h"

namespace qadrill::testing {
namespace {

class WriterPlatform final : public HeadlessPlatform {
public:
    WriterPlatform(const std::filesystem::path& root, bool lineByLine)
        : HeadlessPlatform(driveMapUnder(root), std::chrono::seconds(60)), lineByLine_(lineByLine) {
        useStateFolder(root / "state");
    }

    void appendRecords(std::span<const RecordAppend> records) override {
        if (!lineByLine_) return HeadlessPlatform::appendRecords(records);
        for (const RecordAppend& record : records) {
            std::string_view bytes = record.bytes;
            while (!bytes.empty()) {
                const auto end = bytes.find("\r\n");
                const auto length = end == std::string_view::npos ? bytes.size() : end + 2;
                HeadlessPlatform::write(record.fileNumber, bytes.substr(0, length));
                bytes.remove_prefix(length);
            }
        }
    }
    // A fixed clock keeps every record of one writer identical but for its number.
    [[nodiscard]] std::u16string dateText() override { return u"12-07-2026"; }
    [[nodiscard]] std::u16string timeText() override { return u"23:05:36"; }

private:
    bool lineByLine_;
};

std::u16string ascii(const std::string& text) { return {text.begin(), text.end()}; }

struct Sizes {
    unsigned seed = 0;
    std::size_t maxBytes = 0;
};

int run(const std::filesystem::path& root, int writer, int count, bool lineByLine, std::optional<Sizes> sizes) {
    WriterPlatform platform(root, lineByLine);
    FakeView view;
    DrillState state;
    state.masterFile = u"c:\\plovenda\\masterFile_shared.txt";
    state.sendFile = u"c:\\plovenda\\send_1207shared.txt";
    state.notesFile = u"c:\\plovenda\\notes_shared.txt";
    state.currentLine = ascii("question of writer " + std::to_string(writer));
    std::mt19937 random(sizes ? sizes->seed : 0);
    for (int record = 0; record < count; ++record) {
        std::string answer = "writer " + std::to_string(writer) + " record " + std::to_string(record);
        if (sizes) {
            // Log-uniform: mostly small records, now and then one of megabytes.
            const double logSize =
                std::uniform_real_distribution<double>(0.0, std::log(double(sizes->maxBytes)))(random);
            const auto size = static_cast<std::size_t>(std::exp(logSize)) - 1;
            answer += " size " + std::to_string(size) + ":" + std::string(size, static_cast<char>('a' + record % 26));
        }
        view.answer = ascii(answer);
        cmd_save_as_notes_Click(state, platform, view);
    }
    return 0;
}

}  // namespace
}  // namespace qadrill::testing

int main(int argc, char** argv) {
    if (argc != 5 && argc != 7) return 2;
    const std::string_view mode = argv[4];
    if (mode != "whole" && mode != "lines" && mode != "sized") return 2;
    if ((mode == "sized") != (argc == 7)) return 2;
    std::optional<qadrill::testing::Sizes> sizes;
    if (mode == "sized") sizes = {static_cast<unsigned>(std::atol(argv[5])), std::strtoull(argv[6], nullptr, 10)};
    if (sizes && sizes->maxBytes == 0) return 2;
    try {
        return qadrill::testing::run(argv[1], std::atoi(argv[2]), std::atoi(argv[3]), mode == "lines", sizes);
    } catch (const qadrill::RuntimeError& error) {
        std::fprintf(stderr, "log_record_writer: %s\n", error.what());
        return 1;
    }
}
