// animation: the frames stay in the order they were added, so the first frame whose threshold
// is below the count-down is the current one; the walk never covers more than a handful.
#include "render/animation.h"

#include "foundation/allocator.h"
#include "foundation/list.h"
#include "render/graphics_win.h"

struct AnimationFrame
{
    int32_t threshold;
    SubTexture *subTexture;
};

struct Animation
{
    Vector2 size;
    List *frames;
    int32_t countDown;
    int32_t hasEnded;
};

static void _DestroyFrame(void *frame)
{
    AnimationFrame_Destroy(static_cast<AnimationFrame *>(frame));
}

AnimationFrame *AnimationFrame_Create(int32_t threshold, SubTexture *subTexture)
{
    AnimationFrame *frame = MEMORY_ALLOCATE_RECORD(AnimationFrame);
    frame->threshold = threshold;
    frame->subTexture = subTexture;
    return frame;
}

void AnimationFrame_Destroy(AnimationFrame *frame)
{
    MEMORY_FREE(frame);
}

Animation *Animation_Create(Vector2 size)
{
    Animation *animation = MEMORY_ALLOCATE_RECORD(Animation);
    animation->size = size;
    animation->frames = List_Create(_DestroyFrame);
    animation->countDown = 0;
    animation->hasEnded = 0;
    return animation;
}

void Animation_Destroy(Animation *animation)
{
    List_Destroy(animation->frames);
    MEMORY_FREE(animation);
}

void Animation_AddFrame(Animation *animation, int32_t threshold, SubTexture *subTexture)
{
    List_AddLast(animation->frames, AnimationFrame_Create(threshold, subTexture));
}

void Animation_SetCountDown(Animation *animation, int32_t count)
{
    animation->countDown = count;
    animation->hasEnded = 0;
}

Vector2 Animation_GetSize(Animation *animation)
{
    return animation->size;
}

int32_t Animation_GetCountDown(Animation *animation)
{
    return animation->countDown;
}

int32_t Animation_HasEnded(Animation *animation)
{
    return animation->hasEnded;
}

void Animation_Render(Animation *animation)
{
    // A negative count-down would never reach 0 and count on until it overflowed: it is idle.
    if (animation->countDown <= 0)
    {
        return;
    }
    for (auto *frame = static_cast<AnimationFrame *>(List_GetFirst(animation->frames));
         frame != nullptr; frame = static_cast<AnimationFrame *>(List_GetNext(animation->frames)))
    {
        if (frame->threshold < animation->countDown)
        {
            Graphics_DrawTexturedRectangle(animation->size, frame->subTexture);
            break;
        }
    }
    animation->countDown--;
    if (animation->countDown == 0)
    {
        animation->hasEnded = 1;
    }
}
