// How long "Enter Response" and "Save as Notes" take until the record is
// durable, with the journal and without it (each log locked, written and
// synced on its own, as before the journal), on the same disk in one run.
// Each iteration is one press; the counters give the median and the 99th
// percentile.  The logs go under QADRILL_BENCH_DIR, else /var/tmp: a real
// disk, where syncs cost what they cost a student.

#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "drill/DrillState.h"
#include "drill/DrillView.h"
#include "logbook/ResponseRecords.h"
#include "tests/support/HeadlessPlatform.h"

namespace {

using qadrill::DrillView;

class BenchView final : public DrillView {
public:
    std::u16string question;
    std::u16string answer;
    [[nodiscard]] std::u16string questionBoxText() const override { return question; }
    void setQuestionBoxText(const std::u16string& text) override { question = text; }
    [[nodiscard]] std::u16string answerBoxText() const override { return answer; }
    void setAnswerBoxText(const std::u16string& text) override { answer = text; }
    void setPictureScaleHeight(qadrill::PictureBoxId, double) override {}
    void setPictureScaleWidth(qadrill::PictureBoxId, double) override {}
};

// The files of the real platform; no desktop.
class BenchPlatform final : public qadrill::testing::HeadlessPlatform {
public:
    BenchPlatform(const std::filesystem::path& root, bool journaled)
        : HeadlessPlatform(qadrill::driveMapUnder(root)), journaled_(journaled) {}

    void appendRecords(std::span<const qadrill::RecordAppend> records) override {
        if (journaled_) return HeadlessPlatform::appendRecords(records);
        for (const qadrill::RecordAppend& record : records) write(record.fileNumber, record.bytes);
    }

private:
    bool journaled_;
};

std::filesystem::path benchRoot() {
    const char* chosen = std::getenv("QADRILL_BENCH_DIR");
    std::string pattern =
        (std::filesystem::path(chosen != nullptr && *chosen != '\0' ? chosen : "/var/tmp") / "qadrill-bench-XXXXXX")
            .string();
    if (mkdtemp(pattern.data()) == nullptr) std::abort();
    std::filesystem::create_directories(std::filesystem::path(pattern) / "c" / "plovenda");
    return pattern;
}

// One student's logs in their own folder, recorded with or without the journal.
struct Recorder {
    Recorder(bool journaled) : root(benchRoot()), platform(root, journaled) {
        drill.masterFile = u"c:\\plovenda\\masterFile_Ann_Lee_Smith.txt";
        drill.sendFile = u"c:\\plovenda\\send_1207Ann_Lee_Smith.txt";
        drill.notesFile = u"c:\\plovenda\\notes_Ann_Lee_Smith.txt";
        drill.assignmentNumber = u"012";
        drill.currentLine = u"3.  A cart rolls 12 m down a ramp in 3 s \u2013 what\u2019s its average speed?";
    }
    ~Recorder() { std::filesystem::remove_all(root); }
    Recorder(const Recorder&) = delete;
    Recorder& operator=(const Recorder&) = delete;

    // Microseconds until the command returned, its records durable.
    template <auto Command>
    double press() {
        view.answer = u"v = d / t = 12 m / 3 s = 4 m/s; the units check out.";
        const auto start = std::chrono::steady_clock::now();
        Command(drill, platform, view);
        return std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start).count();
    }

    std::filesystem::path root;
    BenchPlatform platform;
    BenchView view;
    qadrill::DrillState drill;
};

void report(benchmark::State& state, std::vector<double> micros, const std::string& prefix) {
    std::sort(micros.begin(), micros.end());
    state.counters[prefix + "median_us"] = micros[micros.size() / 2];
    state.counters[prefix + "p99_us"] = micros[std::min(micros.size() - 1, micros.size() * 99 / 100)];
}

// Presses alternate between the two ways, so both meet the disk in the same
// moods; the ratio is of the medians.
template <auto Command>
void journalAgainstPlainWrites(benchmark::State& state) {
    Recorder journaled(true);
    Recorder plain(false);
    std::vector<double> withJournal;
    std::vector<double> without;
    for (auto _ : state) {
        without.push_back(plain.press<Command>());
        withJournal.push_back(journaled.press<Command>());
    }
    report(state, without, "plain_");
    report(state, withJournal, "journal_");
    state.counters["median_ratio"] = state.counters["journal_median_us"] / state.counters["plain_median_us"];
}

void EnterResponse(benchmark::State& state) { journalAgainstPlainWrites<qadrill::cmd_enter_response_Click>(state); }
void SaveAsNotes(benchmark::State& state) { journalAgainstPlainWrites<qadrill::cmd_save_as_notes_Click>(state); }

BENCHMARK(EnterResponse)->Iterations(500)->Unit(benchmark::kMillisecond);
BENCHMARK(SaveAsNotes)->Iterations(500)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
