#include <gtest/gtest.h>

#include <string>

#include "drill/report/ErrorReport.h"
#include "platform/unicode/Utf8.h"
#include "tests/support/ScriptedPlatform.h"
#include "tests/support/TempDir.h"

namespace qadrill::testing {
namespace {

const std::u16string subscriptText =
    u"You have probably not entered a valid assignment number.  Make sure the assignment number is a number, like 1 "
    u"or 8 or 15 or 27 etc., and make sure that this assignment is supposed to be in the current kel_.  This program "
    u"will end and you will need to start over.  If you are sure you have entered a valid assignment number email the "
    u"instructor and specify that you have received a 'subscript out of range' error";

const std::u16string generalText =
    u"You have encountered an error.  If you are encountering this error repeatedly you should report the error "
    u"number to the instructor and explain exactly what you were doing, keystroke by keystroke, when the error "
    u"occurred.  The error is:  ";

TEST(ErrorReportText, MessagesAreExact) {
    EXPECT_EQ(subscriptErrorMessage, subscriptText);
    EXPECT_EQ(subscriptErrorMessage.size(), 411U);
    EXPECT_EQ(generalErrorMessage, generalText);
    EXPECT_EQ(generalErrorMessage.size(), 237U);
}

TEST(ErrorReportText, Error9ShowsNoNumberOthersEndWithTheirNumber) {
    EXPECT_EQ(errorReportText(9), subscriptText);
    EXPECT_EQ(errorReportText(13), generalText + u"13");
    EXPECT_EQ(errorReportText(53), generalText + u"53");
    EXPECT_EQ(errorReportText(5), generalText + u"5");
}

class ReportErrorTest : public ::testing::Test {
protected:
    TempDir temp;
    ScriptedPlatform platform{temp.path()};
};

TEST_F(ReportErrorTest, Error9EndsTheProgramAfterTheMessage) {
    EXPECT_THROW(reportError(platform, 9), ProgramEnded);
    ASSERT_EQ(platform.messages.size(), 1U);
    EXPECT_EQ(platform.messages[0], subscriptText);
}

TEST_F(ReportErrorTest, OtherErrorsReturnAfterTheMessage) {
    for (const int number : {5, 13, 53, 57, 75}) {
        platform.messages.clear();
        EXPECT_NO_THROW(reportError(platform, number)) << number;
        ASSERT_EQ(platform.messages.size(), 1U);
        EXPECT_EQ(platform.messages[0], generalText + fromUtf8(std::to_string(number)));
    }
    EXPECT_FALSE(platform.ended);
}

}  // namespace
}  // namespace qadrill::testing
