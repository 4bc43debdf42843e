// The SDL backend's translation of SDL events into the window procedure's messages, and its key
// state, with SDL's dummy video driver: no display needed.
#include "host/platform/sys.h"

#include <SDL.h>
#include <cstdlib>
#include <cstring>
#include <gtest/gtest.h>
#include <vector>

// The SDL backend hands dispatched messages here; this test only takes them off the queue.
std::intptr_t window_proc(void*, std::uint32_t, std::uintptr_t, std::intptr_t) {
    return 0;
}

namespace {

class SdlEventsTest : public testing::Test {
  protected:
    static void SetUpTestSuite() {
        setenv("SDL_VIDEODRIVER", "dummy", 1);
        ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_VIDEO), 0) << SDL_GetError();
    }
    static void TearDownTestSuite() { SDL_QuitSubSystem(SDL_INIT_VIDEO); }
    void SetUp() override {
        // Start from an empty queue and no latched presses.
        drain();
        sys_key_down_or_pressed(kVkEscape);
        sys_key_down_or_pressed(kVkRButton);
    }

    static void key(SDL_Keycode sym, SDL_Scancode code, Uint32 type = SDL_KEYDOWN) {
        SDL_Event event{};
        event.type = type;
        event.key.keysym.sym = sym;
        event.key.keysym.scancode = code;
        event.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
        SDL_PushEvent(&event);
    }
    static void text(const char* typed) {
        SDL_Event event{};
        event.type = SDL_TEXTINPUT;
        std::strncpy(event.text.text, typed, sizeof event.text.text - 1);
        SDL_PushEvent(&event);
    }
    static void window_event(Uint8 what) {
        SDL_Event event{};
        event.type = SDL_WINDOWEVENT;
        event.window.event = what;
        SDL_PushEvent(&event);
    }
    struct Seen {
        std::uint32_t message;
        std::uintptr_t wparam;
        bool operator==(const Seen&) const = default;
    };
    // Two drains, as two frames would make: SDL ends a drain at the events that were pumped
    // before it and leaves those pushed later (here: all of them) to the next.
    static std::vector<Seen> drain() {
        std::vector<Seen> seen;
        WindowMessage message;
        for (int frame = 0; frame < 2; ++frame) {
            while (sys_peek_message(message)) {
                seen.push_back({message.message, message.wparam});
            }
        }
        return seen;
    }
};

TEST_F(SdlEventsTest, KeysBecomeKeyDownsAndTypedTextBecomesCharacters) {
    key(SDLK_RIGHT, SDL_SCANCODE_RIGHT);
    key(SDLK_LEFT, SDL_SCANCODE_LEFT);
    key(SDLK_RIGHT, SDL_SCANCODE_RIGHT, SDL_KEYUP);
    // The apostrophe key itself is no arrow: only the character it types seeks.
    key(SDLK_QUOTE, SDL_SCANCODE_APOSTROPHE);
    text("'");
    text("%a");
    const std::vector<Seen> expected = {
        {kWmKeyDown, 0x27}, {kWmKeyDown, 0x25}, {kWmChar, 0x27}, {kWmChar, 0x25}, {kWmChar, 'a'}};
    EXPECT_EQ(drain(), expected);
}

TEST_F(SdlEventsTest, CloseAndMinimiseBecomeCloseAndSizeMessages) {
    window_event(SDL_WINDOWEVENT_CLOSE);
    SDL_Event quit{};
    quit.type = SDL_QUIT; // follows a close request; the close message already said it
    SDL_PushEvent(&quit);
    window_event(SDL_WINDOWEVENT_MINIMIZED);
    const std::vector<Seen> expected = {{kWmClose, 0}, {kWmSize, 1}};
    EXPECT_EQ(drain(), expected);
}

TEST_F(SdlEventsTest, QuitMessageComesOnceAfterTheWaitingMessages) {
    key(SDLK_LEFT, SDL_SCANCODE_LEFT);
    WindowMessage message;
    ASSERT_TRUE(sys_peek_message(message));
    sys_post_quit_message(0);
    key(SDLK_RIGHT, SDL_SCANCODE_RIGHT);
    ASSERT_TRUE(sys_peek_message(message));
    EXPECT_EQ(message.message, kWmQuit);
    // Events not yet taken wait for the next drain.
    const std::vector<Seen> expected = {{kWmKeyDown, 0x27}};
    EXPECT_EQ(drain(), expected);
}

TEST_F(SdlEventsTest, EscapePressedAndReleasedBetweenQueriesStillCounts) {
    key(SDLK_ESCAPE, SDL_SCANCODE_ESCAPE);
    key(SDLK_ESCAPE, SDL_SCANCODE_ESCAPE, SDL_KEYUP);
    drain();
    EXPECT_TRUE(sys_key_down_or_pressed(kVkEscape));
    EXPECT_FALSE(sys_key_down_or_pressed(kVkEscape)); // counted once
}

TEST_F(SdlEventsTest, RightButtonClickBetweenQueriesStillCounts) {
    SDL_Event press{};
    press.type = SDL_MOUSEBUTTONDOWN;
    press.button.button = SDL_BUTTON_RIGHT;
    press.button.state = SDL_PRESSED;
    SDL_PushEvent(&press);
    SDL_Event release = press;
    release.type = SDL_MOUSEBUTTONUP;
    release.button.state = SDL_RELEASED;
    SDL_PushEvent(&release);
    drain();
    EXPECT_TRUE(sys_key_down_or_pressed(kVkRButton));
    EXPECT_FALSE(sys_key_down_or_pressed(kVkRButton));
}

} // namespace
