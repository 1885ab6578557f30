// Real key presses from the X server (X test extension) through the window library and the
// controller to the player, as a person at the keyboard makes them.
#include "tests/frame/x11_client.h"
#include "tests/game/game_fixture.h"

#include "frame/integration_win.h"
#include "frame/window.h"
#include "game/hud.h"
#include "game/player.h"
#include "game/world.h"

#include <GLFW/glfw3.h>
#include <initializer_list>

namespace
{
int32_t eventsSeen = 0;

void CountAndHandle(Player *player, Window *window, KeyboardEvent event)
{
    eventsSeen++;
    Player_HandleKeyboardEvent(player, window, event);
}

class RealKeys : public GameTest
{
  protected:
    void SetUp() override
    {
        GameTest::SetUp();
        controller = Controller_Create(GetWindow());
        Controller_AddPlayer(controller, player);
        Controller_SetPlayerFunctions(controller, CountAndHandle, nullptr, nullptr);
        xWindow = x11::IdOf(OSWindow_GetFrameworkWindow(Window_GetOSWindow(GetWindow())));
        glfwPollEvents();
        eventsSeen = 0;
    }
    void TearDown() override
    {
        Controller_Destroy(controller);
        GameTest::TearDown();
    }
    // Presses the keys together and waits until the window has seen every press and release.
    void Press(std::initializer_list<const char *> keys)
    {
        const int32_t expected = eventsSeen + 2 * static_cast<int32_t>(keys.size());
        x11::PressKeys(xWindow, keys);
        for (int32_t i = 0; i < 100 && eventsSeen < expected; i++)
        {
            glfwWaitEventsTimeout(0.1);
        }
        ASSERT_EQ(eventsSeen, expected) << "the key events did not arrive";
    }
    Controller *controller = nullptr;
    uint64_t xWindow = 0;
};
} // namespace

TEST_F(RealKeys, ShiftOrAltAloneOrWithAnotherKeyRaiseTheShieldAndControlShiftDoesNot)
{
    StartPlay();
    // Every fifth level refills the charges: four from level 21 on.
    AdvanceToLevel(21);
    ASSERT_EQ(Player_GetNumberOfShields(player), 4);
    const struct
    {
        std::initializer_list<const char *> keys;
        int32_t charges; // left afterwards
    } presses[] = {
        {{"Shift_L"}, 3},          {{"Control_L", "Shift_L"}, 3}, {{"Alt_L"}, 2},
        {{"Shift_R", "space"}, 1}, {{"Alt_L", "Right"}, 0},
    };
    for (const auto &press : presses)
    {
        Press(press.keys);
        EXPECT_EQ(Player_GetNumberOfShields(player), press.charges) << *press.keys.begin();
        Player_RemoveBullet(player);
        Step(61); // the shield goes down again
        EXPECT_EQ(Hud_GetShields(World_GetHud(world)), press.charges);
    }
}

TEST_F(RealKeys, PPausesAndResumesAndALostFocusPauses)
{
    StartPlay();
    Press({"p"});
    EXPECT_EQ(Player_IsPaused(player), 1);
    Press({"Pause"});
    EXPECT_EQ(Player_IsPaused(player), 0);
    // Told only now: a window opened by a parallel test takes the focus too.
    Controller_SetPlayerFocusFunction(controller, Player_HandleFocusEvent);
    x11::DropFocus();
    for (int32_t i = 0; i < 100 && !Player_IsPaused(player); i++)
    {
        glfwWaitEventsTimeout(0.1);
    }
    EXPECT_EQ(Player_IsPaused(player), 1);
}
