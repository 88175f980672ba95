#include "scene_fixture.h"

class ManagerTest : public SceneTest {
protected:
    ManagerTest() : manager(monthly) {}
    // Three visible buttons in a row, as the monthly calendar has them.
    void CreateRow() {
        for (int i = 0; i < 3; ++i) {
            CButtonSprite* button = manager.CreateButton(nullptr, 1000 + i);
            ASSERT_NE(button, nullptr);
            button->SetPosition(16 + 32 * i, 12);
            button->visible = 1;
        }
    }
    C2DManager manager;
};

TEST_F(ManagerTest, ASecondPressIsIgnoredWhileTheFirstIsOutstanding) {
    CreateRow();
    EXPECT_EQ(manager.OnLButtonDown(5, 5), 1);
    EXPECT_EQ(manager.OnLButtonDown(40, 5), 0);
    EXPECT_EQ(manager.FindButton(1001)->state, kButtonNormal);
    manager.OnLButtonUp(40, 5);
    EXPECT_EQ(app->events, (std::vector<ControlEvent>{{1000, 1}, {1000, 2}}));
    EXPECT_EQ(manager.OnLButtonDown(40, 5), 1);
}

TEST_F(ManagerTest, CreatingAnExistingIdReplacesItAtTheEnd) {
    CreateRow();
    CButtonSprite* replacement = manager.CreateButton(nullptr, 1000);
    replacement->SetPosition(16, 12);
    replacement->visible = 1;
    EXPECT_EQ(manager.FindButton(1000), replacement);
    // The arrow keys focus the first button in list order, now 1001.
    manager.OnKeyDown(VK_DOWN);
    EXPECT_EQ(app->events.back(), (ControlEvent{1001, 3}));
    EXPECT_EQ(manager.RemoveButton(1000), 1);
    EXPECT_EQ(manager.RemoveButton(1000), 0);
    EXPECT_EQ(manager.FindButton(1000), nullptr);
}

TEST_F(ManagerTest, ArrowKeysFocusTheFirstButtonEvenWhenHiddenAndEnterPressesIt) {
    CreateRow();
    for (int id = 1000; id <= 1002; ++id) {
        manager.FindButton(id)->visible = 0;
    }
    manager.OnKeyDown(VK_RIGHT);
    EXPECT_EQ(manager.FindButton(1000)->state, kButtonHover);
    manager.OnKeyDown(VK_LEFT); // focus exists: nothing
    manager.OnKeyDown(VK_RETURN);
    EXPECT_EQ(manager.pressedId, 1000);
    EXPECT_EQ(manager.FindButton(1000)->state, kButtonHover);
    manager.OnLButtonUp(300, 300);
    EXPECT_EQ(app->events, (std::vector<ControlEvent>{{1000, 3}, {1000, 1}, {1000, 2}}));
}

TEST_F(ManagerTest, HoverMovesBetweenButtonsAndIsReportedOnEveryMove) {
    CreateRow();
    manager.OnMouseMove(5, 5);
    manager.OnMouseMove(6, 5);
    manager.OnMouseMove(40, 5);
    EXPECT_EQ(manager.FindButton(1000)->state, kButtonNormal);
    EXPECT_EQ(manager.FindButton(1001)->state, kButtonHover);
    EXPECT_EQ(app->events, (std::vector<ControlEvent>{{1000, 3}, {1000, 3}, {1001, 3}}));
}

TEST_F(ManagerTest, PressMoveOffAndReleaseEndsInHoverThenNormal) {
    CreateRow();
    manager.OnLButtonDown(5, 5);
    manager.OnMouseMove(200, 100);
    EXPECT_EQ(manager.FindButton(1000)->state, kButtonPressed);
    manager.OnLButtonUp(200, 100);
    EXPECT_EQ(manager.FindButton(1000)->state, kButtonHover);
    manager.OnMouseMove(201, 100);
    EXPECT_EQ(manager.FindButton(1000)->state, kButtonNormal);
    EXPECT_EQ(app->events, (std::vector<ControlEvent>{{1000, 1}, {1000, 2}}));
}

TEST_F(ManagerTest, UpdateCollectsDirtyButtonsIntoARedrawRequest) {
    CreateRow();
    EXPECT_EQ(manager.Update(), 0);
    EXPECT_EQ(app->redrawRequested, 1);
    app->redrawRequested = 0;
    manager.Update();
    EXPECT_EQ(app->redrawRequested, 0); // nothing changed since
    manager.OnMouseMove(5, 5);
    manager.Update();
    EXPECT_EQ(app->redrawRequested, 1);
}

TEST_F(ManagerTest, ResetReturnsTheRangeToNormalAndClearsItsPress) {
    CreateRow();
    manager.OnLButtonDown(40, 5);
    manager.OnMouseMove(5, 5);
    manager.ResetButtonRange();
    EXPECT_EQ(manager.pressedId, -1);
    for (int id = 1000; id <= 1002; ++id) {
        EXPECT_EQ(manager.FindButton(id)->state, kButtonNormal) << id;
    }
}

TEST_F(ManagerTest, AMissingSheetCreatesNoButton) {
    ButtonSheetProfile missing = monthly;
    missing.sheetName = u"absent.mg";
    C2DManager empty(missing);
    EXPECT_EQ(empty.CreateButton(nullptr, 1000), nullptr);
    EXPECT_EQ(empty.FindButton(1000), nullptr);
}
