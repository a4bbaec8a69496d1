// POP file names: the encoding of a clock reading, and the wait for a name
// that differs from the one before.
#include "naming/pop_file_name.hpp"

#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "tests/support/fake_platform.hpp"

namespace {

TEST(Base36Digit, MapsEachRangeAndMarksValuesOutOfRange)
{
    EXPECT_EQ(base36_digit(0), 'A');
    EXPECT_EQ(base36_digit(25), 'Z');
    EXPECT_EQ(base36_digit(26), '0');
    EXPECT_EQ(base36_digit(35), '9');
    EXPECT_EQ(base36_digit(36), '!');
    EXPECT_EQ(base36_digit(0xFFFFFFFFU), '!');
}

struct NameCase {
    ClockReading reading;
    const char* stem;
};

class NameStem : public testing::TestWithParam<NameCase> {};

TEST_P(NameStem, EncodesTheReading)
{
    char stem[POP_NAME_STEM_LENGTH + 1] = {};
    encode_pop_name_stem(GetParam().reading, stem);
    EXPECT_STREQ(stem, GetParam().stem);
}

// {year, month (0-11), day, hour, minute, second, millisecond}
INSTANTIATE_TEST_SUITE_P(
    WorkedExamples, NameStem,
    testing::Values(
        NameCase{{2000, 2, 15, 14, 25, 36, 789}, "C2AT44C5"},
        // The month weighs 12 days: these dates share a day index.
        NameCase{{2000, 0, 13, 10, 0, 0, 0}, "C2AGN72A"},
        NameCase{{2000, 1, 1, 10, 0, 0, 0}, "C2AGN72A"},
        NameCase{{2000, 0, 25, 10, 0, 0, 0}, "C2AMUF2A"},
        NameCase{{2000, 1, 13, 10, 0, 0, 0}, "C2AMUF2A"},
        NameCase{{2000, 2, 1, 10, 0, 0, 0}, "C2AMUF2A"},
        // Only the tenths digit of the milliseconds counts.
        NameCase{{2000, 1, 1, 10, 0, 0, 99}, "C2AGN72A"},
        NameCase{{2000, 1, 1, 10, 0, 0, 100}, "C2AGN72B"},
        // First and last tenth of a year; years around the epoch.
        NameCase{{2025, 0, 1, 0, 0, 0, 0}, "DRAAAAAA"},
        NameCase{{2025, 11, 31, 23, 59, 59, 999}, "DRCL4SX9"},
        NameCase{{1970, 0, 1, 0, 0, 0, 0}, "B8AAAAAA"},
        NameCase{{2007, 0, 1, 0, 0, 0, 0}, "C9AAAAAA"},
        NameCase{{2008, 0, 1, 0, 0, 0, 0}, "DAAAAAAA"},
        // Past 2038 the clock goes on: 64-bit seconds.
        NameCase{{2040, 5, 1, 12, 0, 0, 0}, "D6A5ENMA"},
        NameCase{{3195, 0, 1, 0, 0, 0, 0}, "99AAAAAA"},
        NameCase{{3196, 0, 1, 0, 0, 0, 0}, "!AAAAAAA"}));

class MakePopFileName : public testing::Test {
protected:
    void SetUp() override { fake::reset(); }

    std::string make(std::uint32_t capacity = 16)
    {
        std::memset(buffer, 'x', sizeof buffer);
        return make_pop_file_name(buffer, capacity, previous, fake::clock());
    }

    char buffer[16] = {};
    PreviousName previous{};
};

TEST_F(MakePopFileName, FirstNameComesAtOnceFromTheFirstReading)
{
    fake::clock_state.now_ms = fake::at(14, 25, 36, 789);
    EXPECT_EQ(make(), "C2AT44C5.POP");
    EXPECT_EQ(fake::clock_state.reads, 1);
    EXPECT_TRUE(fake::clock_state.sleeps.empty());
}

TEST_F(MakePopFileName, SecondNameInTheSameTenthSleepsUntilTheNextTenth)
{
    fake::clock_state.now_ms = fake::at(14, 25, 36, 789);
    make();
    fake::clock_state.now_ms += 5;  // 36.794: the same tenth
    EXPECT_EQ(make(), "C2AT44C6.POP");
    ASSERT_EQ(fake::clock_state.sleeps.size(), 1U);
    EXPECT_EQ(fake::clock_state.sleeps[0], 6U);  // exactly to 36.800
    EXPECT_EQ(fake::clock_state.now_ms, fake::at(14, 25, 36, 800));
}

TEST_F(MakePopFileName, AnyOtherTenthGivesItsNameWithoutWaiting)
{
    fake::clock_state.now_ms = fake::at(14, 25, 36, 789);
    make();
    const std::pair<std::int64_t, const char*> readings[] = {
        {fake::at(14, 25, 37, 0), "C2AT44C8.POP"},   // later
        {fake::at(14, 25, 30, 0), "C2AT44BA.POP"}};  // a clock set back
    for (const auto& [now_ms, name] : readings) {
        fake::clock_state.now_ms = now_ms;
        EXPECT_EQ(make(), name);
    }
    EXPECT_TRUE(fake::clock_state.sleeps.empty());
}

TEST_F(MakePopFileName, KeepsReadingWhenASleepEndsEarly)
{
    fake::clock_state.now_ms = fake::at(14, 25, 36, 700);
    make();
    fake::clock_state.sleep_advances_ms = 30;
    // Sleeps of 100, 70, 40 and 10 ms, each cut short to 30 ms, reach 36.820.
    EXPECT_EQ(make(), "C2AT44C6.POP");
    EXPECT_EQ(fake::clock_state.sleeps, (std::vector<std::uint32_t>{100, 70, 40, 10}));
    EXPECT_EQ(fake::clock_state.reads, 6);
}

TEST_F(MakePopFileName, CapacityBelowThirteenGivesTheEmptyNameAndChangesNothing)
{
    fake::clock_state.now_ms = fake::at(14, 25, 36, 789);
    make();
    EXPECT_EQ(make(12), "");
    EXPECT_EQ(buffer[1], 'x');
    EXPECT_EQ(fake::clock_state.reads, 1);
    // The remembered name is still the first one, so the same tenth waits.
    EXPECT_EQ(make(13), "C2AT44C6.POP");
    EXPECT_EQ(buffer[12], '\0');
    EXPECT_EQ(buffer[13], 'x');
}

}  // namespace
