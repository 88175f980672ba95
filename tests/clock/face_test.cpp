// Face layouts: the hand angles, the table's rows against their images and
// sizes, and what each face shows at chosen times.
#include "clock_fixture.h"

#include <cmath>
#include <cstdlib>
#include <numbers>

using namespace clock_test;

namespace {

constexpr double kDegree = std::numbers::pi / 180.0;

// Opaque blends may round a channel by one.
bool Near(std::uint32_t a, std::uint32_t b) {
    for (int shift = 0; shift < 32; shift += 8) {
        if (std::abs(int(a >> shift & 0xFF) - int(b >> shift & 0xFF)) > 1) {
            return false;
        }
    }
    return true;
}

class FaceTest : public ClockFixture {
protected:
    CApp& StartFace(int number, const LocalTime& time) {
        WriteFaceFiles(*FindClockFace(number));
        platform->SetLocalTime(time);
        return Start(number);
    }
    std::uint32_t Pixel(int x, int y) const { return app->backBuffer->GetPixel(x, y); }
    // The tile whose top-left source pixel is (sx, sy) was drawn at (x, y),
    // looked at a few pixels inside (tiles of the layouts overlap at their
    // edges, and the synthetic tiles are opaque all over).
    void ExpectTile(int x, int y, int sx, int sy, const char* what, POINT d = {4, 3}) const {
        std::uint32_t got = Pixel(x + d.x, y + d.y);
        EXPECT_TRUE(Near(got, SourceCoded(sx + d.x, sy + d.y)))
            << what << " at (" << x + d.x << ", " << y + d.y << "): from (" << SourceOf(got).x
            << ", " << SourceOf(got).y << "), expected (" << sx + d.x << ", " << sy + d.y << ")";
    }
    void ExpectFace(int x, int y, const char* what) const {
        EXPECT_EQ(Pixel(x, y), 0xFF000000u) << what;
    }
};

} // namespace

TEST(HandAngles, MinuteStepsAndHourMovesHalfADegreeAMinute) {
    struct Case {
        int hour, minute;
        double minuteDegrees, hourDegrees;
    } cases[] = {
        {15, 30, 180.0, 105.0},                         // six o'clock; 15 degrees past three
        {0, 0, 0.0, 0.0},       {12, 0, 0.0, 360.0},    // exactly one turn is not taken off
        {6, 1, 6.0, 180.5},     {23, 59, 354.0, 359.5}, // just under a full turn
    };
    for (const Case& c : cases) {
        HandAngles angles = HandAnglesAt(c.hour, c.minute);
        EXPECT_NEAR(angles.minute, c.minuteDegrees * kDegree, 1e-5) << c.hour << ":" << c.minute;
        EXPECT_NEAR(angles.hour, c.hourDegrees * kDegree, 1e-5) << c.hour << ":" << c.minute;
    }
    EXPECT_LT(HandAnglesAt(23, 59).hour, 2.0f * 3.1415927f);
}

TEST(FaceTableRows, LayersUseTheFaceImagesAndStayInsideTheFace) {
    for (int number = 1; number <= kClockFaceCount; ++number) {
        const ClockFace& face = *FindClockFace(number);
        EXPECT_EQ(face.number, number);
        EXPECT_EQ(face.storeName, number == 1 ? std::u16string(u"LumiClock")
                                              : u"LumiClock" + Utf8ToUtf16(std::to_string(number)));
        for (const FaceLayer& layer : face.layers) {
            ASSERT_NE(face.partsImages[layer.image], nullptr) << "face " << number;
            EXPECT_GE(layer.x, 0) << "face " << number;
            EXPECT_GE(layer.y, 0) << "face " << number;
            if (layer.blit == FaceBlit::Rotated) {
                EXPECT_LT(layer.x, face.width) << "face " << number;
                EXPECT_LT(layer.y, face.height) << "face " << number;
            } else {
                // A tile may reach past the far edge (the blit clips it).
                EXPECT_LT(layer.x, face.width) << "face " << number;
                EXPECT_LT(layer.y, face.height) << "face " << number;
            }
        }
    }
    EXPECT_EQ(FindClockFace(0), nullptr);
    EXPECT_EQ(FindClockFace(8), nullptr);
}

TEST_F(FaceTest, OpaqueFaceShowsTheColonOnEvenSecondsOnly) {
    StartFace(3, At(2009, 6, 15, 10, 7, 31)); // Monday
    ExpectFace(44, 90, "colon at :31");
    ExpectTile(6, 87, 20, 0, "hour tens 1");
    ExpectTile(23, 87, 0, 0, "hour units 0");
    ExpectTile(51, 87, 0, 0, "minute tens 0");
    ExpectTile(68, 87, 140, 0, "minute units 7");
    ExpectTile(15, 131, 0, 40, "year tens 0");
    ExpectTile(24, 131, 90, 40, "year units 9");
    ExpectTile(39, 131, 0, 40, "month tens 0");
    ExpectTile(48, 131, 60, 40, "month units 6");
    ExpectTile(63, 131, 10, 40, "day tens 1");
    ExpectTile(72, 131, 50, 40, "day units 5");
    ExpectTile(34, 131, 102, 40, "date separator");
    ExpectTile(15, 142, 0, 73, "weekday Monday");

    FrameAt(At(2009, 6, 15, 10, 7, 32));
    ExpectTile(40, 87, 200, 0, "colon at :32");
}

TEST_F(FaceTest, TwelveHourFaceShowsHourModTwelveAndTheHalfOfTheDay) {
    struct Case {
        int hour, minute, second;
        int hourTens, hourUnits, minuteTens, minuteUnits, pm;
    } cases[] = {
        {0, 30, 2, 0, 0, 3, 0, 0},
        {12, 30, 4, 0, 0, 3, 0, 1},
        {23, 59, 6, 1, 1, 5, 9, 1},
    };
    StartFace(4, At(2009, 6, 15, 9, 0, 1));
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.hour) + ":" + std::to_string(c.minute));
        FrameAt(At(2009, 6, 15, c.hour, c.minute, c.second));
        ExpectTile(82, 136, 40 * c.hourTens, 0, "hour tens");
        ExpectTile(118, 136, 40 * c.hourUnits, 0, "hour units");
        ExpectTile(170, 136, 40 * c.minuteTens, 0, "minute tens");
        ExpectTile(206, 136, 40 * c.minuteUnits, 0, "minute units");
        ExpectTile(29, 165, 40 * c.pm, 50, "AM/PM");
        // The colon shows between the hour and the minute tiles.
        ExpectTile(146, 136, 400, 0, "colon on an even second", {14, 3});
    }
}

TEST_F(FaceTest, AdditiveFaceShowsFourYearDigitsAndSeconds) {
    StartFace(7, At(2009, 6, 15, 15, 4, 27));
    ExpectTile(10, 12, 20, 60, "year 2");
    ExpectTile(19, 12, 0, 60, "year 0");
    ExpectTile(28, 12, 0, 60, "year 0");
    ExpectTile(37, 12, 90, 60, "year 9");
    ExpectTile(272, 12, 0, 91, "weekday Monday");
    ExpectTile(129, 7, 0, 0, "hour tens of 03");
    ExpectTile(149, 7, 60, 0, "hour units of 03");
    ExpectTile(222, 20, 32, 46, "PM");
    ExpectTile(227, 7, 20, 28, "second tens 2");
    ExpectTile(237, 7, 70, 28, "second units 7");
}

TEST_F(FaceTest, HandsTurnAboutTheFaceCentreWithTheirShadows) {
    StartFace(5, At(2009, 6, 15, 15, 30, 0));
    EXPECT_EQ(Pixel(100, 150), kMinuteColour) << "minute hand to six o'clock";
    EXPECT_EQ(Pixel(100, 50), 0xFF000000u) << "nothing at twelve";
    // Hour hand 105 degrees from twelve, 40 px out.
    int hx = 100 + int(std::lround(40 * std::sin(105 * kDegree)));
    int hy = 100 - int(std::lround(40 * std::cos(105 * kDegree)));
    EXPECT_EQ(Pixel(hx, hy), kHourColour) << hx << ", " << hy;
    // The minute shadow is centred 2 px lower: its tip shows past the hand's.
    EXPECT_EQ(Pixel(102, 193), kShadowColour);
    EXPECT_EQ(Pixel(102, 197), 0xFF000000u);
}
