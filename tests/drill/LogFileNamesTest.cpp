// Log file names for every kind of name a student can type: ordinary names
// unchanged, anything that would leave the data directory or break the file
// system made safe, always the same way.

#include <gtest/gtest.h>

#include <filesystem>

#include "drill/LogFileNames.h"
#include "platform/unicode/Utf8.h"
#include "tests/support/RowName.h"
#include "tests/support/ScriptedPlatform.h"
#include "tests/support/TempDir.h"

namespace qadrill {
namespace {

using qadrill::testing::PrintTo;

struct NameCase {
    const char* name;
    std::u16string typed;
    std::u16string part;
};

class FileNamePart : public ::testing::TestWithParam<NameCase> {};

TEST_P(FileNamePart, MapsTheNameAndTheFileCanBeCreatedInTheDataDirectory) {
    const auto& c = GetParam();
    EXPECT_EQ(fileNamePart(c.typed), c.part);
    EXPECT_EQ(fileNamePart(c.typed), fileNamePart(c.typed)) << "deterministic";

    testing::TempDir dir;
    testing::ScriptedPlatform platform(dir.path());
    std::filesystem::create_directories(dir.path() / "c" / "plovenda");
    const auto paths = logPaths(u"c:\\plovenda", c.typed, u"12", u"07");
    for (const auto& path : {paths.masterFile, paths.sendFile, paths.notesFile}) {
        platform.open(1, path, FileMode::Append);
        platform.close(1);
    }
    std::size_t files = 0;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(dir.path())) {
        if (!entry.is_regular_file()) continue;
        ++files;
        EXPECT_EQ(entry.path().parent_path(), dir.path() / "c" / "plovenda") << entry.path();
        EXPECT_LE(entry.path().filename().string().size(), 255U);
    }
    EXPECT_EQ(files, 3U);
}

std::u16string repeat(std::u16string_view piece, int times) {
    std::u16string out;
    for (int i = 0; i < times; ++i) out += piece;
    return out;
}

INSTANTIATE_TEST_SUITE_P(
    Names, FileNamePart,
    ::testing::Values(
        NameCase{"ordinary_spaces_become_underscores", u"Ann Lee Smith", u"Ann_Lee_Smith"},
        NameCase{"accents_and_apostrophe_kept", u"Zoë O'Brien-Núñez", u"Zoë_O'Brien-Núñez"},
        NameCase{"empty_stays_empty", u"", u""}, NameCase{"dot_dot_stays_inside", u"..", u".."},
        NameCase{"slash_cannot_climb_out", u"../../etc/passwd", u".._.._etc_passwd"},
        NameCase{"backslash_and_drive", u"c:\\windows", u"c__windows"},
        NameCase{"wildcards_and_quotes", u"a*b?c\"d<e>f|g", u"a_b_c_d_e_f_g"},
        NameCase{"control_characters", u"tab\there\nnew\x7f", u"tab_here_new_"},
        NameCase{"three_hundred_greek_letters_cut_to_fit", repeat(u"\u03b1", 300), repeat(u"\u03b1", 120)},
        NameCase{"emoji_kept_whole", u"Ann \U0001F600", u"Ann_\U0001F600"},
        NameCase{"emoji_cut_between_whole_characters", repeat(u"\U0001F600", 70), repeat(u"\U0001F600", 60)},
        NameCase{"lone_surrogate_replaced", u"a\xD800z", u"a_z"}),
    qadrill::testing::rowName);

// A name pasted from somewhere can be as long as a prompt takes; it is cut
// between whole characters of every width.  (Its time is bench_names'.)
TEST(FileNamePart, VeryLongNamesAreCutToTheBudget) {
    for (const std::u16string_view piece : {u"a", u"\u4e2d", u"\U0001F600"}) {
        const std::u16string name = repeat(piece, 100'000 / static_cast<int>(piece.size()));
        EXPECT_EQ(toUtf8(fileNamePart(name)).size(), 240U) << toUtf8(piece);
    }
}

TEST(FileNamePart, WindowsDeviceNamesGetAnUnderscoreOnlyThere) {
    const FileNameRules windows{255, true};
    EXPECT_EQ(fileNamePart(u"CON", windows), u"CON_");
    EXPECT_EQ(fileNamePart(u"nul", windows), u"nul_");
    EXPECT_EQ(fileNamePart(u"COM1", windows), u"COM1_");
    EXPECT_EQ(fileNamePart(u"lpt9", windows), u"lpt9_");
    EXPECT_EQ(fileNamePart(u"COM0", windows), u"COM0");
    EXPECT_EQ(fileNamePart(u"CONSTANCE", windows), u"CONSTANCE");
    EXPECT_EQ(fileNamePart(u"CON"), u"CON") << "no such rule elsewhere";
}

TEST(LogPaths, ComposesTheThreeNamesFromDirectoryNameAndDate) {
    const auto paths = logPaths(u"c:\\plovenda", u"Ann Lee Smith", u"12", u"07");
    EXPECT_EQ(paths.masterFile, u"c:\\plovenda\\masterFile_Ann_Lee_Smith.txt");
    EXPECT_EQ(paths.sendFile, u"c:\\plovenda\\send_1207Ann_Lee_Smith.txt");
    EXPECT_EQ(paths.notesFile, u"c:\\plovenda\\notes_Ann_Lee_Smith.txt");
}

}  // namespace
}  // namespace qadrill
