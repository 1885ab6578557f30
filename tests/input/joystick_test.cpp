// Joystick polling against stand-in devices: this binary defines the window library's joystick
// functions itself, and the controller linked into it calls these instead of the library's.
// No window is opened; the controller is made without one.
#include "input/controller_win.h"

#define GLFW_INCLUDE_NONE
#include <GLFW/glfw3.h>
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

struct Player
{
    int id;
};

namespace
{
struct Device
{
    bool gamepad = false;
    bool stateReadable = true;
    std::string name;
    std::string gamepadName;
    GLFWgamepadstate state{};
    std::vector<float> axes;
    std::vector<unsigned char> buttons;
    std::vector<unsigned char> hats;
};
std::map<int, Device> devices;
std::vector<int> slotsAsked;

struct Received
{
    int player;
    Window *window;
    JoystickEvent event;
    std::vector<float> axes;
    std::vector<unsigned char> buttons;
};
std::vector<Received> received;

void RecordJoystick(Player *player, Window *window, JoystickEvent event)
{
    received.push_back(
        {player->id, window, event, std::vector<float>(event.axes, event.axes + event.axisCount),
         std::vector<unsigned char>(event.buttons, event.buttons + event.buttonCount)});
}

Device *Find(int slot)
{
    auto found = devices.find(slot);
    return found != devices.end() ? &found->second : nullptr;
}

template <typename T> const T *Array(const std::vector<T> &values, int *count)
{
    *count = static_cast<int>(values.size());
    return values.empty() ? nullptr : values.data();
}
} // namespace

// The stand-ins for the library's joystick functions.
int glfwJoystickPresent(int slot)
{
    slotsAsked.push_back(slot);
    return Find(slot) != nullptr;
}
int glfwJoystickIsGamepad(int slot)
{
    return Find(slot) != nullptr && Find(slot)->gamepad;
}
int glfwGetGamepadState(int slot, GLFWgamepadstate *state)
{
    Device *device = Find(slot);
    if (device == nullptr || !device->gamepad || !device->stateReadable)
    {
        return GLFW_FALSE;
    }
    *state = device->state;
    return GLFW_TRUE;
}
const char *glfwGetGamepadName(int slot)
{
    return Find(slot)->gamepadName.c_str();
}
const char *glfwGetJoystickName(int slot)
{
    return Find(slot)->name.c_str();
}
const float *glfwGetJoystickAxes(int slot, int *count)
{
    return Array(Find(slot)->axes, count);
}
const unsigned char *glfwGetJoystickButtons(int slot, int *count)
{
    return Array(Find(slot)->buttons, count);
}
const unsigned char *glfwGetJoystickHats(int slot, int *count)
{
    return Array(Find(slot)->hats, count);
}

namespace
{
class JoystickPolling : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        devices.clear();
        slotsAsked.clear();
        received.clear();
        controller = Controller_Create(window);
        Controller_AddPlayer(controller, &first);
        Controller_SetPlayerFunctions(controller, nullptr, nullptr, RecordJoystick);
    }
    void TearDown() override { Controller_Destroy(controller); }

    static Device Gamepad(const char *name, float leftX, unsigned char buttonA)
    {
        Device pad;
        pad.gamepad = true;
        pad.name = "raw name";
        pad.gamepadName = name;
        pad.state.axes[GLFW_GAMEPAD_AXIS_LEFT_X] = leftX;
        pad.state.buttons[GLFW_GAMEPAD_BUTTON_A] = buttonA;
        pad.state.buttons[GLFW_GAMEPAD_BUTTON_DPAD_LEFT] = GLFW_PRESS;
        return pad;
    }

    // Never dereferenced: the controller only hands it on.
    Window *window = reinterpret_cast<Window *>(0x1000);
    Controller *controller = nullptr;
    Player first{1}, second{2};
};

TEST_F(JoystickPolling, ReportsEveryPresentGamepadEachFrameLowestSlotFirst)
{
    devices[3] = Gamepad("Pad three", -0.5f, GLFW_RELEASE);
    devices[0] = Gamepad("Pad zero", 0.75f, GLFW_PRESS);
    Controller_PollJoysticks(controller);
    Controller_PollJoysticks(controller);

    ASSERT_EQ(received.size(), 4u);
    for (size_t frame = 0; frame < 2; frame++)
    {
        const Received &zero = received[frame * 2], &three = received[frame * 2 + 1];
        EXPECT_EQ(zero.event.joystickId, 0);
        EXPECT_EQ(three.event.joystickId, 3);
        EXPECT_STREQ(zero.event.name, "Pad zero");
        EXPECT_STREQ(three.event.name, "Pad three");
        for (const Received *pad : {&zero, &three})
        {
            EXPECT_EQ(pad->window, window);
            EXPECT_EQ(pad->event.isGamepad, 1);
            EXPECT_EQ(pad->event.axisCount, 6);
            EXPECT_EQ(pad->event.buttonCount, 15);
            EXPECT_EQ(pad->event.hatCount, 0);
            EXPECT_EQ(pad->event.hats, nullptr);
            EXPECT_EQ(pad->buttons[GLFW_GAMEPAD_BUTTON_DPAD_LEFT], GLFW_PRESS);
        }
        EXPECT_FLOAT_EQ(zero.axes[GLFW_GAMEPAD_AXIS_LEFT_X], 0.75f);
        EXPECT_FLOAT_EQ(three.axes[GLFW_GAMEPAD_AXIS_LEFT_X], -0.5f);
        EXPECT_EQ(zero.buttons[GLFW_GAMEPAD_BUTTON_A], GLFW_PRESS);
        EXPECT_EQ(three.buttons[GLFW_GAMEPAD_BUTTON_A], GLFW_RELEASE);
    }
}

TEST_F(JoystickPolling, PlainJoystickBringsItsRawArrays)
{
    Device stick;
    stick.name = "Flight stick";
    stick.axes = {0.25f, -1.0f, 0.5f};
    stick.buttons = {GLFW_RELEASE, GLFW_PRESS};
    stick.hats = {GLFW_HAT_UP};
    devices[5] = stick;
    Controller_PollJoysticks(controller);

    ASSERT_EQ(received.size(), 1u);
    const JoystickEvent &event = received[0].event;
    EXPECT_EQ(event.joystickId, 5);
    EXPECT_EQ(event.isGamepad, 0);
    EXPECT_STREQ(event.name, "Flight stick");
    EXPECT_EQ(received[0].axes, stick.axes);
    EXPECT_EQ(received[0].buttons, stick.buttons);
    ASSERT_EQ(event.hatCount, 1);
    EXPECT_EQ(event.hats[0], GLFW_HAT_UP);
}

TEST_F(JoystickPolling, SlotFifteenAndUnreadablePadsAreNeverReported)
{
    devices[15] = Gamepad("Last slot", 1.0f, GLFW_PRESS);
    devices[2] = Gamepad("Unplugged while read", 1.0f, GLFW_PRESS);
    devices[2].stateReadable = false;
    Controller_PollJoysticks(controller);

    EXPECT_TRUE(received.empty());
    std::vector<int> expectedSlots;
    for (int slot = 0; slot < 15; slot++)
    {
        expectedSlots.push_back(slot);
    }
    EXPECT_EQ(slotsAsked, expectedSlots);
}

TEST_F(JoystickPolling, EachPlayerInTurnOrNobody)
{
    devices[1] = Gamepad("Pad", 0.0f, GLFW_PRESS);
    Controller_AddPlayer(controller, &second);
    Controller_PollJoysticks(controller);
    ASSERT_EQ(received.size(), 2u);
    EXPECT_EQ(received[0].player, 1);
    EXPECT_EQ(received[1].player, 2);

    received.clear();
    Controller *alone = Controller_Create(window);
    Controller_SetPlayerFunctions(alone, nullptr, nullptr, RecordJoystick);
    Controller_PollJoysticks(alone); // no players
    Controller_AddPlayer(alone, &first);
    Controller_SetPlayerFunctions(alone, nullptr, nullptr, nullptr);
    Controller_PollJoysticks(alone); // no function to reach them through
    EXPECT_TRUE(received.empty());
    Controller_Destroy(alone);
}
} // namespace
