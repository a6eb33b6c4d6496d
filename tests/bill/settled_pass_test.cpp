// Leaving out the passes of a resting sheet never shows: after every tick the
// sheet holds what a pass on every tick would have left, and the same failure
// is reported.
#include "bill/settled_pass.h"

#include <gtest/gtest.h>

#include <random>

#include "bill/recalculation.h"
#include "bill/zero_blanking.h"

namespace cubrix {
namespace {

struct Sheets {
    Sheets() {
        connectZeroBlanking(everyTick);
        connectZeroBlanking(settled);
    }
    void set(FieldRef field, std::u16string_view text) {
        everyTick.set(field, text);
        settled.set(field, text);
    }
    // One tick on both; false where they part.
    ::testing::AssertionResult tick() {
        const auto expected = Timer1_Timer(everyTick);
        const auto got = pass.run(settled);
        if (expected.has_value() != got.has_value() ||
            (expected && (expected->number != got->number || expected->row != got->row)))
            return ::testing::AssertionFailure() << "the failures differ";
        for (int slot = 0; slot < kFieldCount; ++slot)
            if (everyTick.text(fieldAt(slot)) != settled.text(fieldAt(slot)))
                return ::testing::AssertionFailure() << fieldName(fieldAt(slot)) << " differs";
        return ::testing::AssertionSuccess();
    }

    BillSheet everyTick;
    BillSheet settled;
    SettledPass pass;
};

TEST(SettledPass, RestsAfterAPassThatChangedNothingAndWakesOnAnySet) {
    Sheets s;
    s.set({Field::Text1, 0}, u"4.2");
    s.set({Field::Text2, 0}, u"150");
    s.set({Field::Text3, 0}, u"25");
    s.set({Field::Text4, 0}, u"1");
    s.set({Field::Text6, 0}, u"1000");
    // Each step: what is set before the tick, and whether the tick runs the pass.
    struct Step {
        const char* what;
        FieldRef field;
        const char16_t* text;
        bool runs;
    };
    const Step steps[] = {
        {"first pass after keying", {Field::Text10}, nullptr, true},
        {"second pass finds nothing to change", {Field::Text10}, nullptr, true},
        {"resting", {Field::Text10}, nullptr, false},
        {"still resting", {Field::Text10}, nullptr, false},
        {"a party text is a set too", {Field::Text10}, u"某木材厂", true},
        {"which leaves the results as they are", {Field::Text10}, nullptr, false},
        {"a volume typed over", {Field::Text5, 0}, u"9", true},
        {"settles", {Field::Text5, 0}, nullptr, true},
        {"resting", {Field::Text5, 0}, nullptr, false},
        {"a tiny volume typed into an empty line", {Field::Text5, 5}, u"0.00001", true},
        {"which the pass emptied", {Field::Text5, 5}, nullptr, true},
        {"resting", {Field::Text5, 5}, nullptr, false},
        {"a tinier one, blanked as it is set", {Field::Text5, 5}, u"0.000001", true},
        {"which left nothing to do", {Field::Text5, 5}, nullptr, false},
        {"an unchanged set changes nothing", {Field::Text1, 0}, u"4.2", false},
    };
    for (const Step& step : steps) {
        if (step.text) s.set(step.field, step.text);
        ASSERT_TRUE(s.tick()) << step.what;
        EXPECT_EQ(!s.pass.leftOut(), step.runs) << step.what;
    }
    EXPECT_EQ(s.settled.text(Field::Text5, 0), u"0.0158");
    EXPECT_EQ(s.settled.text(Field::Text9), u"15.8000");
}

TEST(SettledPass, AFailingPassRunsOnEveryTick) {
    Sheets s;
    s.set({Field::Text1, 2}, u"1E200");
    s.set({Field::Text2, 2}, u"1E200");
    for (int tick = 0; tick < 4; ++tick) {
        ASSERT_TRUE(s.tick()) << tick;
        EXPECT_FALSE(s.pass.leftOut()) << tick;
    }
    s.set({Field::Text2, 2}, u"100");
    for (int tick = 0; tick < 3; ++tick) ASSERT_TRUE(s.tick()) << tick;
    EXPECT_TRUE(s.pass.leftOut());
}

// Random keying, interleaved with ticks, from texts that read as zero, tiny,
// ordinary, huge, blank or not a number.
TEST(SettledPass, MatchesAPassOnEveryTickThroughRandomKeying) {
    const char16_t* texts[] = {u"",     u"0",       u"0.00001", u"4.2",   u"150", u"25",
                               u"1.5",  u"1E200",   u"-3",      u"abc",   u" 6 ", u"99.9",
                               u"1e-9", u"0.00005", u"1250",    u"0.0000"};
    std::mt19937 random(20261207);
    Sheets s;
    int leftOut = 0;
    for (int step = 0; step < 20000; ++step) {
        if (random() % 3 == 0) {
            const FieldRef field = fieldAt(static_cast<int>(random() % kFieldCount));
            s.set(field, texts[random() % std::size(texts)]);
        }
        ASSERT_TRUE(s.tick()) << "step " << step;
        leftOut += s.pass.leftOut();
    }
    EXPECT_GT(leftOut, 1000) << "resting sheets are found";
}

}  // namespace
}  // namespace cubrix
