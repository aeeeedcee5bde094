#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <string>

#include "bank/BankFile.h"
#include "platform/RuntimeError.h"
#include "tests/support/ErrorOf.h"
#include "tests/support/RowName.h"
#include "tests/support/TempDir.h"

namespace qadrill {
namespace {

// A bank is opened by whatever name it is given; nothing at that name may
// keep the drill waiting or reading for ever.
struct SpecialRow {
    const char* name;
    void (*make)(const std::filesystem::path& at);
};

const SpecialRow specialRows[] = {
    {"fifo", [](const std::filesystem::path& at) { ASSERT_EQ(::mkfifo(at.c_str(), 0600), 0); }},
    {"link_to_dev_zero", [](const std::filesystem::path& at) { std::filesystem::create_symlink("/dev/zero", at); }},
    {"folder", [](const std::filesystem::path& at) { std::filesystem::create_directory(at); }},
};

class BankSpecialFiles : public ::testing::TestWithParam<SpecialRow> {};

TEST_P(BankSpecialFiles, RefusedWithoutWaiting) {
    const qadrill::testing::TempDir dir;
    const auto path = dir.path() / "bank.qabank";
    GetParam().make(path);
    SystemFiles files;
    EXPECT_EQ(qadrill::testing::errorOf([&] { static_cast<void>(readBankFile(files, path)); }), err::accessDenied);
}

INSTANTIATE_TEST_SUITE_P(Rows, BankSpecialFiles, ::testing::ValuesIn(specialRows), qadrill::testing::rowName);

}  // namespace
}  // namespace qadrill
