#include "scene_fixture.h"

TEST_F(SceneTest, OpacityIsClampedAndChoosesTheOpacityBlend) {
    CButtonSprite button;
    ASSERT_EQ(button.LoadSheet(u"sheet.tga"), 1);
    button.SetOpacity(300);
    EXPECT_EQ(button.opacity, 255);
    EXPECT_EQ(button.drawFlags & kDrawOpacity, 0u);
    button.SetOpacity(-5);
    EXPECT_EQ(button.opacity, 0);
    EXPECT_NE(button.drawFlags & kDrawOpacity, 0u);
    EXPECT_EQ(button.image->opacity, 0);
    EXPECT_EQ(button.dirty, 1);
}

TEST_F(SceneTest, TheDrawFlagsPickTheBlit) {
    using Blit = void (*)(CSurface*, const CSurface*, int, int, int, int, int, int);
    struct Case {
        unsigned flags;
        Blit expected;
    } cases[] = {
        {kDrawAlpha | kDrawOpacity, CSurface::BlendAlphaOpacity},
        {kDrawAlpha, CSurface::BlendAlpha},
        {kDrawColorKey | kDrawOpacity, CSurface::BlendKeyedOpacity},
        {kDrawColorKey, CSurface::CopyKeyed},
        {kDrawOpacity, CSurface::BlendOpacity},
        {0, CSurface::Copy},
    };
    // A half-transparent source whose key colour matches one of its pixels,
    // over a background: every blit gives a different picture.
    auto makeSource = [] {
        CSurface* source = CSurface::CreateBlank(2, 1);
        source->Row(0)[0] = 0x80C04020;
        source->Row(0)[1] = 0xFF102030;
        source->colorKey = 0xFF102030;
        source->opacity = 100;
        source->hasAlpha = 1;
        return source;
    };
    auto makeBackground = [] {
        CSurface* background = CSurface::CreateBlank(4, 3);
        for (int y = 0; y < 3; ++y) {
            for (int x = 0; x < 4; ++x) {
                background->Row(y)[x] = 0xFF405060 + static_cast<std::uint32_t>(x * 8 + y);
            }
        }
        return background;
    };
    for (const Case& c : cases) {
        CSprite sprite;
        sprite.image = makeSource();
        sprite.ownsImage = 1;
        sprite.visible = 1;
        sprite.width = 2;
        sprite.height = 1;
        sprite.drawFlags = c.flags;
        sprite.opacity = 100;
        sprite.SetPosition(1, 2);
        std::unique_ptr<CSurface> drawn(makeBackground());
        sprite.Draw(drawn.get());

        std::unique_ptr<CSurface> expected(makeBackground());
        std::unique_ptr<CSurface> source(makeSource());
        c.expected(expected.get(), source.get(), 1, 2, 2, 1, 0, 0);
        for (int x = 0; x < 4; ++x) {
            EXPECT_EQ(drawn->GetPixel(x, 2), expected->GetPixel(x, 2)) << "flags " << c.flags;
        }
    }
}

TEST_F(SceneTest, AButtonCellIsPlacedAndHitTestedAroundItsHotspot) {
    CButtonSprite button;
    ASSERT_EQ(button.LoadSheet(u"sheet.tga"), 1);
    EXPECT_EQ(button.drawFlags, kDrawAlpha);
    button.SetCells(monthly.defaultCells, 32, 24);
    button.SetPosition(16, 204);
    EXPECT_EQ(button.hotspotX, 16);
    EXPECT_EQ(button.hotspotY, 12);
    EXPECT_EQ(button.hitRect, (RECT{0, 192, 32, 216}));
    EXPECT_TRUE(button.HitTest(31, 215));
    EXPECT_FALSE(button.HitTest(32, 204));
    EXPECT_FALSE(button.HitTest(16, 216));

    button.visible = 1;
    std::unique_ptr<CSurface> back(CSurface::CreateBlank(40, 222));
    button.SetState(kButtonPressed);
    button.Draw(back.get());
    // The pressed cell's colour, blended as the sheet's alpha asks.
    std::unique_ptr<CSurface> pressed(CSurface::CreateBlank(1, 1));
    CSurface::BlendAlpha(pressed.get(), button.image, 0, 0, 1, 1, 0, 48);
    ASSERT_NE(pressed->GetPixel(0, 0), 0u);
    EXPECT_EQ(back->GetPixel(0, 192), pressed->GetPixel(0, 0));
    EXPECT_EQ(back->GetPixel(31, 215), pressed->GetPixel(0, 0));
    EXPECT_EQ(back->GetPixel(32, 215), 0u);
    EXPECT_EQ(back->GetPixel(0, 191), 0u);
}

TEST_F(SceneTest, OnlyVisibleUnpressedButtonsTakePresses) {
    CButtonSprite button;
    ASSERT_EQ(button.LoadSheet(u"sheet.tga"), 1);
    button.SetCells(monthly.defaultCells, 32, 24);
    button.SetPosition(16, 12);
    EXPECT_EQ(button.TryPress(5, 5), 0); // invisible
    button.visible = 1;
    EXPECT_EQ(button.TryPress(5, 5), 1);
    EXPECT_EQ(button.TryPress(5, 5), 0); // already pressed
    EXPECT_EQ(button.state, kButtonPressed);
}
