// player: steering comes from two independent sources (keyboard and the selected game pad)
// whose steps add up; the ship's own movement vector is only used to fly it off at a level's end.
#include "game/player.h"

#include "audio/audio_openal.h"
#include "foundation/allocator.h"
#include "foundation/logging.h"
#include "frame/window.h"
#include "game/bullet.h"
#include "game/sprite.h"
#include "game/world.h"
#include "render/animation.h"
#include "render/graphics_win.h"

#include <algorithm>
#include <cmath>

// Input codes as the window library reports them.
static constexpr int32_t KEY_SPACE = 32;
static constexpr int32_t KEY_P = 80;
static constexpr int32_t KEY_ESCAPE = 256;
static constexpr int32_t KEY_ENTER = 257;
static constexpr int32_t KEY_RIGHT = 262;
static constexpr int32_t KEY_LEFT = 263;
static constexpr int32_t KEY_PAUSE = 284;
static constexpr int32_t ACTION_RELEASE = 0;
static constexpr int32_t ACTION_PRESS = 1;
static constexpr int32_t MOD_SHIFT = 1;
static constexpr int32_t MOD_ALT = 4;
static constexpr int32_t PAD_BUTTON_A = 0;
static constexpr int32_t PAD_BUTTON_X = 2;
static constexpr int32_t PAD_DPAD_RIGHT = 12;
static constexpr int32_t PAD_DPAD_LEFT = 14;
static constexpr uint8_t BUTTON_PRESSED = 1;

static constexpr float KEYBOARD_STEP = 0.02f;
static constexpr float JOYSTICK_STEP = 0.025f;
static constexpr double STICK_DEAD_ZONE = 0.1;
static constexpr float SHIP_LIMIT_X = 0.9f;
static constexpr int32_t HIT_FRAMES = 60;
static constexpr int32_t SHIELD_FRAMES = 60;
static constexpr int32_t EXPLOSION_FRAMES = 340;

struct Player
{
    int32_t score;
    Sprite *sprite;
    Sprite *shieldSprite;
    float keyboardDeltaX;
    float joystickDeltaX;
    Bullet *bullet;
    int32_t bulletsFired;
    SubTexture *straightSubTexture;
    SubTexture *goingLeftSubTexture;
    SubTexture *goingRightSubTexture;
    SubTexture *bulletSubTexture;
    SubTexture *shieldSubTexture;
    float bulletOffsetX;
    int32_t initialLives;
    int32_t initialShields;
    int32_t numberOfLives;
    int32_t numberOfShields;
    int32_t hitCountDown;
    int32_t shieldCountDown;
    Animation *explosion;
    int32_t hasDied;
    int32_t explosionFramesSet;
    int32_t paused;
};

static int32_t selectedJoystick = 0;

Player *Player_Create(const char *name, int32_t lives)
{
    Player *player = MEMORY_ALLOCATE_RECORD(Player);
    player->sprite = Sprite_Create(-1, name);
    player->shieldSprite = Sprite_Create(-1, "Shield");
    player->initialLives = lives;
    player->numberOfLives = lives;
    player->explosion = Animation_Create(Vector2_Static(0.5f, 0.5f));
    return player;
}

void Player_Destroy(Player *player)
{
    Sprite_Destroy(player->sprite);
    Sprite_Destroy(player->shieldSprite);
    Animation_Destroy(player->explosion);
    Player_RemoveBullet(player);
    MEMORY_FREE(player);
}

void Player_SetSubTextures(Player *player, SubTexture *straight, SubTexture *goingLeft,
                           SubTexture *goingRight)
{
    player->straightSubTexture = straight;
    player->goingLeftSubTexture = goingLeft;
    player->goingRightSubTexture = goingRight;
}

void Player_SetBulletSubTexture(Player *player, SubTexture *subTexture, float offsetX)
{
    player->bulletSubTexture = subTexture;
    player->bulletOffsetX = offsetX;
}

void Player_SetExplosionSubTextures(Player *player, SubTexture *big, SubTexture *medium,
                                    SubTexture *small)
{
    // Frames appended by later calls would repeat the thresholds of the first four and never
    // be the first match; adding them would only grow the list level after level.
    if (player->explosionFramesSet)
    {
        return;
    }
    player->explosionFramesSet = 1;
    Animation_AddFrame(player->explosion, 330, medium);
    Animation_AddFrame(player->explosion, 320, big);
    Animation_AddFrame(player->explosion, 310, medium);
    Animation_AddFrame(player->explosion, 300, small);
}

void Player_SetShieldSubTexture(Player *player, SubTexture *subTexture)
{
    player->shieldSubTexture = subTexture;
}

static Bullet *_CreateBullet(Player *player)
{
    Bullet *bullet = Bullet_Create(-1, "bullet");
    Sprite *sprite = Bullet_GetSprite(bullet);
    Sprite_SetSubTexture(sprite, player->bulletSubTexture);
    Sprite_SetMovement(sprite, Vector2_Static(0.0f, 0.08f));
    Sprite_SetPosition(sprite, Vector2_Add(Sprite_GetPosition(player->sprite),
                                           Vector2_Static(player->bulletOffsetX, 0.05f)));
    player->bulletsFired++;
    Sample_Play(samplePlayerLaser);
    return bullet;
}

static void _RaiseShield(Player *player)
{
    if (player->shieldCountDown == 0 && player->numberOfShields > 0)
    {
        player->numberOfShields--;
        player->shieldCountDown = SHIELD_FRAMES;
    }
}

static bool _IsExploding(Player *player)
{
    return Animation_GetCountDown(player->explosion) != 0;
}

// Only a game in progress pauses: not the splash or title, and not the final explosion.
static bool _CanPause(Player *player)
{
    return skipSplashScreen != 0 && !_IsExploding(player);
}

void Player_HandleKeyboardEvent(Player *player, Window *window, KeyboardEvent event)
{
    if (event.action == ACTION_PRESS)
    {
        if (event.key == KEY_ESCAPE)
        {
            Window_SetShouldClose(window);
        }
        if ((event.key == KEY_P || event.key == KEY_PAUSE) && _CanPause(player))
        {
            player->paused = !player->paused;
            return;
        }
        if (_IsExploding(player) || player->paused)
        {
            return;
        }
        if ((event.key == KEY_ENTER || event.key == KEY_SPACE) && player->bullet == nullptr)
        {
            player->bullet = _CreateBullet(player);
        }
        if (event.mods == MOD_SHIFT || event.mods == MOD_ALT)
        {
            _RaiseShield(player);
        }
        if (event.key == KEY_RIGHT)
        {
            player->keyboardDeltaX = KEYBOARD_STEP;
        }
        else if (event.key == KEY_LEFT)
        {
            player->keyboardDeltaX = -KEYBOARD_STEP;
        }
    }
    else if (event.action == ACTION_RELEASE)
    {
        if (!_IsExploding(player) && (event.key == KEY_RIGHT || event.key == KEY_LEFT))
        {
            player->keyboardDeltaX = 0.0f;
        }
    }
}

static bool _Pressed(const JoystickEvent &event, int32_t button)
{
    return button < event.buttonCount && event.buttons[button] == BUTTON_PRESSED;
}

static float _StickStep(float axis)
{
    if (std::fabs(static_cast<double>(axis)) > STICK_DEAD_ZONE)
    {
        return axis > 0.0f ? JOYSTICK_STEP : -JOYSTICK_STEP;
    }
    return 0.0f;
}

static void _FireFromPad(Player *player, int32_t joystickId)
{
    if (player->bullet != nullptr)
    {
        return;
    }
    if (!splashScreenPlaying)
    {
        player->bullet = _CreateBullet(player);
    }
    selectedJoystick = joystickId;
}

static void _HandleGamepad(Player *player, const JoystickEvent &event)
{
    if (_Pressed(event, PAD_BUTTON_A))
    {
        _FireFromPad(player, event.joystickId);
    }
    if (_Pressed(event, PAD_BUTTON_X))
    {
        _RaiseShield(player);
    }
    if (event.joystickId != selectedJoystick)
    {
        return;
    }
    if (_Pressed(event, PAD_DPAD_RIGHT))
    {
        player->joystickDeltaX = JOYSTICK_STEP;
    }
    else if (_Pressed(event, PAD_DPAD_LEFT))
    {
        player->joystickDeltaX = -JOYSTICK_STEP;
    }
    else
    {
        player->joystickDeltaX = event.axisCount > 0 ? _StickStep(event.axes[0]) : 0.0f;
    }
}

static void _HandlePlainJoystick(Player *player, const JoystickEvent &event)
{
    bool anyPressed = false;
    for (int32_t i = 0; i < event.buttonCount && !anyPressed; i++)
    {
        anyPressed = event.buttons[i] == BUTTON_PRESSED;
    }
    if (anyPressed && player->bullet == nullptr)
    {
        _FireFromPad(player, event.joystickId);
        // A shot from this device selects it; steering follows below.
    }
    else if (event.joystickId != selectedJoystick)
    {
        return;
    }
    if (event.axisCount <= 0)
    {
        return;
    }
    player->joystickDeltaX = _StickStep(event.axes[0]);
}

void Player_HandleJoystickEvent(Player *player, Window *, JoystickEvent event)
{
    // The pad is read every frame; its state counts again from the first frame after a pause.
    if (player->paused)
    {
        return;
    }
    if (_IsExploding(player))
    {
        player->joystickDeltaX = 0.0f;
        return;
    }
    if (event.isGamepad != 0)
    {
        _HandleGamepad(player, event);
    }
    else
    {
        _HandlePlainJoystick(player, event);
    }
}

void Player_HandleFocusEvent(Player *player, Window *, int32_t focused)
{
    if (!focused && _CanPause(player))
    {
        player->paused = 1;
    }
}

void Player_HandleMouseEvent(Player *, Window *, MouseEvent event, int32_t type)
{
    switch (type)
    {
    case MOUSE_EVENT_CURSOR:
        LOG_DEBUG("Mouse window location x:%f y:%f.", event.position.x, event.position.y);
        break;
    case MOUSE_EVENT_BUTTON:
        LOG_DEBUG("Mouse button pressed: %d, action: %d, mods: %d.", event.button.button,
                  event.button.action, event.button.mods);
        break;
    case MOUSE_EVENT_SCROLL:
        LOG_DEBUG("Mouse scroll wheel: x:%f y:%f.", event.position.x, event.position.y);
        break;
    default:
        break;
    }
}

static void _RenderExplosion(Player *player, Vector2 position)
{
    const Vector2 halfCollisionWidth =
        Vector2_Static(Sprite_GetCollisionSize(player->sprite).x / 2.0f, 0.0f);
    const Vector2 halfExplosion = Vector2_Divide(Animation_GetSize(player->explosion), 2.0f);
    Graphics_SetPosition(
        Vector2_Subtract(Vector2_Subtract(position, halfCollisionWidth), halfExplosion));
    Graphics_SetBlendFactors(6, 1);
    Animation_Render(player->explosion);
}

// The ship's state for this frame: death once no life is left, the steered x kept on the
// screen, and one frame off each count-down.
static void _StepShip(Player *player, Vector2 position, float step)
{
    if (player->numberOfLives == 0)
    {
        player->hasDied = 1;
    }
    const float x = std::clamp(position.x + step, -SHIP_LIMIT_X, SHIP_LIMIT_X);
    Sprite_SetPosition(player->sprite, Vector2_Static(x, position.y));
    Sprite_SetPosition(player->shieldSprite, Vector2_Static(x, position.y));
    if (player->hitCountDown > 0)
    {
        player->hitCountDown--;
    }
    if (player->shieldCountDown > 0)
    {
        player->shieldCountDown--;
    }
}

// Draws the ship leaning towards its step, and the shield while it is up.
static void _DrawShip(Player *player, float step)
{
    SubTexture *picture = player->straightSubTexture;
    if (step < 0.0f)
    {
        picture = player->goingLeftSubTexture;
    }
    else if (step > 0.0f)
    {
        picture = player->goingRightSubTexture;
    }
    Sprite_SetSubTexture(player->sprite, picture);
    Sprite_SetSubTexture(player->shieldSprite, player->shieldSubTexture);
    Sprite_SetSize(player->sprite,
                   step != 0.0f ? Vector2_Static(0.1f, 0.15f) : Vector2_Static(0.15f, 0.15f));
    Sprite_SetSize(player->shieldSprite, Vector2_Static(0.3f, 0.3f));
    Graphics_SetBlendFactors(1, 7);
    // Skipping odd frames makes the ship blink while it is invulnerable.
    if (player->hitCountDown % 2 == 0)
    {
        Sprite_Logic(player->sprite);
        Sprite_Render(player->sprite);
    }
    if (player->shieldCountDown != 0 && player->shieldCountDown % 2 == 0)
    {
        Graphics_SetBlendFactors(6, 1);
        Sprite_Logic(player->shieldSprite);
        Sprite_Render(player->shieldSprite);
    }
}

void Player_Render(Player *player)
{
    const Vector2 position = Sprite_GetPosition(player->sprite);
    if (player->bullet != nullptr)
    {
        Bullet_Render(player->bullet);
        if (Sprite_GetPosition(Bullet_GetSprite(player->bullet)).y > 1.0f)
        {
            Player_RemoveBullet(player);
        }
    }
    if (Animation_GetCountDown(player->explosion) > 0)
    {
        _RenderExplosion(player, position);
        return;
    }
    const float step = player->joystickDeltaX + player->keyboardDeltaX;
    _StepShip(player, position, step);
    _DrawShip(player, step);
}

void Player_Die(Player *player)
{
    if (player->hitCountDown != 0 || player->shieldCountDown != 0 || player->numberOfLives <= 0)
    {
        return;
    }
    player->numberOfLives--;
    if (player->numberOfLives > 0)
    {
        player->hitCountDown = HIT_FRAMES;
    }
    else
    {
        Animation_SetCountDown(player->explosion, EXPLOSION_FRAMES);
    }
    Sample_Play(samplePlayerKilled);
}

void Player_AddScore(Player *player, int32_t points)
{
    player->score += points;
}

void Player_AddLife(Player *player)
{
    if (player->numberOfLives <= 2)
    {
        player->numberOfLives++;
    }
}

void Player_AddShield(Player *player)
{
    if (player->numberOfShields <= 3)
    {
        player->numberOfShields++;
    }
}

void Player_SetShields(Player *player, int32_t count)
{
    player->numberOfShields = count;
}

void Player_RemoveBullet(Player *player)
{
    if (player->bullet != nullptr)
    {
        Bullet_Destroy(player->bullet);
        player->bullet = nullptr;
    }
}

void Player_SetBullet(Player *player, Bullet *bullet)
{
    player->bullet = bullet;
}

void Player_ResetBulletsFired(Player *player)
{
    player->bulletsFired = 0;
}

void Player_ResetLives(Player *player)
{
    const Vector2 position = Sprite_GetPosition(player->sprite);
    Sprite_SetPosition(player->sprite, Vector2_Static(0.0f, position.y));
    player->hasDied = 0;
    player->score = 0;
    player->keyboardDeltaX = 0.0f;
    player->joystickDeltaX = 0.0f;
    player->numberOfLives = player->initialLives;
    player->numberOfShields = player->initialShields;
}

void Player_SetPosition(Player *player, Vector2 position)
{
    Sprite_SetPosition(player->sprite, position);
}

void Player_SetMovement(Player *player, Vector2 movement)
{
    Sprite_SetMovement(player->sprite, movement);
}

Sprite *Player_GetSprite(Player *player)
{
    return player->sprite;
}

Bullet *Player_GetBullet(Player *player)
{
    return player->bullet;
}

int32_t Player_GetScore(Player *player)
{
    return player->score;
}

int32_t Player_GetNumberOfLives(Player *player)
{
    return player->numberOfLives;
}

int32_t Player_GetNumberOfShields(Player *player)
{
    return player->numberOfShields;
}

int32_t Player_GetBulletsFired(Player *player)
{
    return player->bulletsFired;
}

float Player_GetKeyboardDeltaX(Player *player)
{
    return player->keyboardDeltaX;
}

float Player_GetJoystickDeltaX(Player *player)
{
    return player->joystickDeltaX;
}

int32_t Player_HasDied(Player *player)
{
    return player->hasDied;
}

int32_t Player_GetHitCountDown(Player *player)
{
    return player->hitCountDown;
}

int32_t Player_GetShieldCountDown(Player *player)
{
    return player->shieldCountDown;
}

int32_t Player_IsPaused(Player *player)
{
    return player->paused;
}

int32_t Player_GetSelectedJoystick(void)
{
    return selectedJoystick;
}

void Player_SetSelectedJoystick(int32_t joystickId)
{
    selectedJoystick = joystickId;
}
