#include "monthly/schedule_dialog.h"

#include <gtest/gtest.h>

namespace {

TEST(ScheduleTextTest, EditBoxTextBecomesStoredTextWithOneMarkPerLineEnd) {
    struct Case {
        std::u16string edited;
        std::u16string stored;
    } cases[] = {
        {u"a\r\nb\r\nc", u"a\\nb\\nc"},
        {u"a\nb\nc", u"a\\nb\\nc"},   // LF only
        {u"a\rb\rc", u"a\\nb\\nc"},   // CR only
        {u"a\n\rb", u"a\\nb"},        // LF CR is one line end
        {u"a\r\n\r\nb", u"a\\n\\nb"}, // an empty line stays
        {u"a\tb", u"a b"},
        {u"", u""},
        {u"\\n", u"\\n"}, // typed by the user: already a break when shown
    };
    for (const Case& c : cases) {
        EXPECT_EQ(EditToStoredText(c.edited), c.stored);
    }
}

TEST(ScheduleTextTest, StoredTextOpensAsLinesAndRoundTrips) {
    EXPECT_EQ(StoredToEditText(u"one\\ntwo\\nthree"), u"one\r\ntwo\r\nthree");
    EXPECT_EQ(StoredToEditText(u"back\\slash\\"), u"back\\slash\\");
    for (std::u16string stored : {u"one\\ntwo\\nthree", u"x", u"\\n\\n"}) {
        EXPECT_EQ(EditToStoredText(StoredToEditText(stored)), stored);
    }
}

TEST(ScheduleTextTest, TextsLongerThanTheBufferAreCutAtItsLength) {
    std::u16string lines(1000, u'\n');
    EXPECT_EQ(EditToStoredText(lines).size(), kMemoUnits - 1);
    std::u16string breaks;
    for (int i = 0; i < 600; ++i) {
        breaks += u"\\n";
    }
    std::u16string edited = StoredToEditText(breaks);
    EXPECT_EQ(edited.size(), kMemoUnits - 1);
    EXPECT_EQ(edited.substr(0, 4), u"\r\n\r\n");
}

} // namespace
