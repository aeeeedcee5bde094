// How long "Enter Response" and "Save as Notes" take until the records are
// durable, against two floors measured in the same run on the same disk:
//   plain   - bare calls: one O_APPEND write and one fsync per log;
//   journal - one pwrite and one fsync of an existing journal file, then the
//             same log writes and syncs: the least any crash-safe design needs.
// Each iteration is one press of the program and one of each floor, in turn,
// so all three meet the disk in the same moods.  The counters give medians,
// 99th percentiles and the program's ratios to the journal floor.  The logs
// go under QADRILL_BENCH_DIR, else /var/tmp (a real disk); /dev/shm gives
// tmpfs, where the user-space cost shows.  A 5,000-press session sets the
// last 500 presses beside the first 500.

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "drill/state/DrillState.h"
#include "drill/state/DrillView.h"
#include "logbook/ResponseRecords.h"
#include "tests/support/HeadlessPlatform.h"

namespace {

using qadrill::DrillView;
using Clock = std::chrono::steady_clock;

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
    explicit BenchPlatform(const std::filesystem::path& root) : HeadlessPlatform(qadrill::driveMapUnder(root)) {
        useStateFolder(root / "state");
    }
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

double microsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::micro>(Clock::now() - start).count();
}

// One student's logs in their own folder, recorded through the program.
struct Recorder {
    Recorder() : root(benchRoot()), platform(root) {
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
        const auto start = Clock::now();
        Command(drill, platform, view);
        return microsSince(start);
    }

    // How many bytes each log took from one press (the logs it writes).
    template <auto Command>
    std::vector<std::size_t> recordSizes() {
        const auto folder = root / "c" / "plovenda";
        const std::array<const char*, 3> names = {"masterFile_Ann_Lee_Smith.txt", "send_1207Ann_Lee_Smith.txt",
                                                  "notes_Ann_Lee_Smith.txt"};
        const auto sizeOf = [&](const char* name) {
            std::error_code missing;
            const auto size = std::filesystem::file_size(folder / name, missing);
            return missing ? std::uintmax_t{0} : size;
        };
        std::array<std::uintmax_t, 3> before{};
        for (std::size_t i = 0; i < 3; ++i) before[i] = sizeOf(names[i]);
        press<Command>();
        std::vector<std::size_t> sizes;
        for (std::size_t i = 0; i < 3; ++i)
            if (sizeOf(names[i]) > before[i]) sizes.push_back(static_cast<std::size_t>(sizeOf(names[i]) - before[i]));
        return sizes;
    }

    std::filesystem::path root;
    BenchPlatform platform;
    BenchView view;
    qadrill::DrillState drill;
};

// The floors: bare descriptors, opened once, records of the program's sizes.
class Floor {
public:
    Floor(const std::vector<std::size_t>& sizes, bool journaled) : root_(benchRoot()), journaled_(journaled) {
        for (std::size_t i = 0; i < sizes.size(); ++i) {
            records_.emplace_back(sizes[i], 'x');
            logs_.push_back(::open((root_ / ("log" + std::to_string(i))).c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644));
            journalBytes_ += records_.back();
        }
        journal_ = ::open((root_ / "journal").c_str(), O_WRONLY | O_CREAT, 0600);
        if (::pwrite(journal_, journalBytes_.data(), journalBytes_.size(), 0) < 0 || ::fsync(journal_) != 0)
            std::abort();
    }
    ~Floor() {
        for (const int fd : logs_) ::close(fd);
        ::close(journal_);
        std::filesystem::remove_all(root_);
    }
    Floor(const Floor&) = delete;
    Floor& operator=(const Floor&) = delete;

    double press() {
        const auto start = Clock::now();
        bool ok = true;
        if (journaled_)
            ok = ::pwrite(journal_, journalBytes_.data(), journalBytes_.size(), 0) >= 0 && ::fsync(journal_) == 0;
        for (std::size_t i = 0; i < logs_.size(); ++i)
            ok = ok && ::write(logs_[i], records_[i].data(), records_[i].size()) >= 0 && ::fsync(logs_[i]) == 0;
        if (!ok) std::abort();
        return microsSince(start);
    }

private:
    std::filesystem::path root_;
    bool journaled_;
    std::vector<std::string> records_;
    std::vector<int> logs_;
    std::string journalBytes_;
    int journal_ = -1;
};

struct Spread {
    double median = 0;
    double p99 = 0;
};

Spread spreadOf(std::vector<double> micros) {
    std::sort(micros.begin(), micros.end());
    return {micros[micros.size() / 2], micros[std::min(micros.size() - 1, micros.size() * 99 / 100)]};
}

template <auto Command>
void againstTheFloors(benchmark::State& state) {
    Recorder program;
    const std::vector<std::size_t> sizes = program.recordSizes<Command>();
    Floor plain(sizes, false);
    Floor journal(sizes, true);
    std::vector<double> programTimes;
    std::vector<double> plainTimes;
    std::vector<double> journalTimes;
    for (auto _ : state) {
        programTimes.push_back(program.press<Command>());
        plainTimes.push_back(plain.press());
        journalTimes.push_back(journal.press());
    }
    const Spread p = spreadOf(programTimes);
    const Spread floorPlain = spreadOf(plainTimes);
    const Spread floorJournal = spreadOf(journalTimes);
    state.counters["program_median_us"] = p.median;
    state.counters["program_p99_us"] = p.p99;
    state.counters["plain_median_us"] = floorPlain.median;
    state.counters["plain_p99_us"] = floorPlain.p99;
    state.counters["journal_floor_median_us"] = floorJournal.median;
    state.counters["journal_floor_p99_us"] = floorJournal.p99;
    state.counters["ratio_median"] = p.median / floorJournal.median;
    state.counters["ratio_p99"] = p.p99 / floorJournal.p99;
}

void EnterResponse(benchmark::State& state) { againstTheFloors<qadrill::cmd_enter_response_Click>(state); }
void SaveAsNotes(benchmark::State& state) { againstTheFloors<qadrill::cmd_save_as_notes_Click>(state); }

// A long session: 5,000 presses of "Enter Response" in a row, each putting
// one more answer into the run's transcript.  A press at the end of the
// session should cost what one at its start does.
void EnterResponseSession(benchmark::State& state) {
    constexpr std::size_t presses = 5000;
    constexpr std::size_t window = 500;
    std::vector<double> first;
    std::vector<double> last;
    for (auto _ : state) {
        Recorder program;
        std::vector<double> times;
        times.reserve(presses);
        for (std::size_t i = 0; i < presses; ++i) times.push_back(program.press<qadrill::cmd_enter_response_Click>());
        first.assign(times.begin(), times.begin() + window);
        last.assign(times.end() - window, times.end());
    }
    const double firstMedian = spreadOf(first).median;
    const double lastMedian = spreadOf(last).median;
    state.counters["first_500_median_us"] = firstMedian;
    state.counters["last_500_median_us"] = lastMedian;
    state.counters["ratio_last_to_first"] = lastMedian / firstMedian;
}

BENCHMARK(EnterResponse)->Iterations(500)->Unit(benchmark::kMillisecond);
BENCHMARK(EnterResponseSession)->Iterations(1)->Unit(benchmark::kSecond);
BENCHMARK(SaveAsNotes)->Iterations(500)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
