#include <gtest/gtest.h>
#include <ibus.h>

#include "platform/imk/ibus/KeyTranslation.h"
#include "platform/ui/Event.h"

using platform::ModifierFlags;
using platform::imk::ibus::KeyStroke;
using platform::imk::ibus::translateKey;

namespace {

constexpr auto Down = KeyStroke::Kind::KeyDown;
constexpr auto Flags = KeyStroke::Kind::FlagsChanged;
constexpr std::uint64_t Pad = ModifierFlags::NumericPad;
constexpr std::uint64_t Fn = ModifierFlags::Function;
constexpr std::uint32_t Release = IBUS_RELEASE_MASK;

struct Row {
    const char* name;
    std::uint32_t keyval, keycode, state;
    KeyStroke expected;
};

// Hardware codes are evdev codes (X key code − 8), as IBus hands them to an engine.
const Row kTable[] = {
    {"letter b", IBUS_KEY_b, 48, 0, {Down, 11, 0, "b"}},
    {"letter a", IBUS_KEY_a, 30, 0, {Down, 0, 0, "a"}},
    {"shifted B", IBUS_KEY_B, 48, IBUS_SHIFT_MASK, {Down, 11, ModifierFlags::Shift, "B"}},
    {"caps lock r", IBUS_KEY_R, 19, IBUS_LOCK_MASK, {Down, 15, ModifierFlags::CapsLock, "R"}},
    {"control c", IBUS_KEY_c, 46, IBUS_CONTROL_MASK, {Down, 8, ModifierFlags::Control, "c"}},
    {"alt x", IBUS_KEY_x, 45, IBUS_MOD1_MASK, {Down, 7, ModifierFlags::Option, "x"}},
    {"super v",
     IBUS_KEY_v,
     47,
     IBUS_SUPER_MASK | IBUS_MOD4_MASK,
     {Down, 9, ModifierFlags::Command, "v"}},
    {"digit 1", IBUS_KEY_1, 2, 0, {Down, 18, 0, "1"}},
    {"digit 0", IBUS_KEY_0, 11, 0, {Down, 29, 0, "0"}},
    {"colon", IBUS_KEY_colon, 39, IBUS_SHIFT_MASK, {Down, 41, ModifierFlags::Shift, ":"}},
    {"exclam", IBUS_KEY_exclam, 2, IBUS_SHIFT_MASK, {Down, 18, ModifierFlags::Shift, "!"}},
    {"comma", IBUS_KEY_comma, 51, 0, {Down, 43, 0, ","}},
    {"space", IBUS_KEY_space, 57, 0, {Down, 49, 0, " "}},
    {"return", IBUS_KEY_Return, 28, 0, {Down, 36, 0, "\r"}},
    {"tab", IBUS_KEY_Tab, 15, 0, {Down, 48, 0, "\t"}},
    {"backspace", IBUS_KEY_BackSpace, 14, 0, {Down, 51, 0, "\x7f"}},
    {"escape", IBUS_KEY_Escape, 1, 0, {Down, 53, 0, "\x1b"}},
    {"forward delete", IBUS_KEY_Delete, 111, 0, {Down, 117, Fn, ""}},
    {"left", IBUS_KEY_Left, 105, 0, {Down, 123, Pad | Fn, ""}},
    {"right", IBUS_KEY_Right, 106, 0, {Down, 124, Pad | Fn, ""}},
    {"down", IBUS_KEY_Down, 108, 0, {Down, 125, Pad | Fn, ""}},
    {"up", IBUS_KEY_Up, 103, 0, {Down, 126, Pad | Fn, ""}},
    {"home", IBUS_KEY_Home, 102, 0, {Down, 115, Fn, ""}},
    {"F1", IBUS_KEY_F1, 59, 0, {Down, 122, Fn, ""}},
    {"F12", IBUS_KEY_F12, 88, 0, {Down, 111, Fn, ""}},
    {"keypad 0", IBUS_KEY_KP_0, 82, IBUS_MOD2_MASK, {Down, 82, Pad, "0"}},
    {"keypad 7", IBUS_KEY_KP_7, 71, IBUS_MOD2_MASK, {Down, 89, Pad, "7"}},
    {"keypad 9", IBUS_KEY_KP_9, 73, 0, {Down, 92, Pad, "9"}},
    {"keypad enter", IBUS_KEY_KP_Enter, 96, 0, {Down, 76, Pad, "\x03"}},
    {"keypad plus", IBUS_KEY_KP_Add, 78, 0, {Down, 69, Pad, "+"}},
    {"keypad left without num lock", IBUS_KEY_KP_Left, 75, 0, {Down, 123, Pad | Fn, ""}},
    // A keysym on a key xdotool remapped: the code comes from the US position of its character.
    {"remapped letter", IBUS_KEY_r, 247, 0, {Down, 15, 0, "r"}},
    {"Mongolian letter", 0x1001820, 200, 0, {Down, 0xFFFF, 0, "\xe1\xa0\xa0"}},
    {"unknown non-character", IBUS_KEY_AudioMute, 113, 0, {Down, 0xFFFF, 0, ""}},
    // Keysyms of the Unicode block that name no character type nothing.
    {"past the last code point", 0x1110000, 200, 0, {Down, 0xFFFF, 0, ""}},
    {"surrogate code point", 0x100D800, 200, 0, {Down, 0xFFFF, 0, ""}},
    {"shift press", IBUS_KEY_Shift_L, 42, 0, {Flags, 56, ModifierFlags::Shift, ""}},
    {"shift release", IBUS_KEY_Shift_L, 42, IBUS_SHIFT_MASK | Release, {Flags, 56, 0, ""}},
    {"right shift press", IBUS_KEY_Shift_R, 54, 0, {Flags, 60, ModifierFlags::Shift, ""}},
    {"control press with shift held",
     IBUS_KEY_Control_L,
     29,
     IBUS_SHIFT_MASK,
     {Flags, 59, ModifierFlags::Shift | ModifierFlags::Control, ""}},
    {"alt release", IBUS_KEY_Alt_L, 56, IBUS_MOD1_MASK | Release, {Flags, 58, 0, ""}},
    {"super press", IBUS_KEY_Super_L, 125, 0, {Flags, 55, ModifierFlags::Command, ""}},
    {"caps lock on", IBUS_KEY_Caps_Lock, 58, 0, {Flags, 57, ModifierFlags::CapsLock, ""}},
    {"caps lock off", IBUS_KEY_Caps_Lock, 58, IBUS_LOCK_MASK, {Flags, 57, 0, ""}},
};

TEST(KeyTranslation, TableOfKeysyms) {
    for (const Row& row : kTable) {
        SCOPED_TRACE(row.name);
        std::optional<KeyStroke> stroke = translateKey(row.keyval, row.keycode, row.state);
        ASSERT_TRUE(stroke.has_value());
        EXPECT_EQ(stroke->kind, row.expected.kind);
        EXPECT_EQ(stroke->keyCode, row.expected.keyCode);
        EXPECT_EQ(stroke->modifierFlags, row.expected.modifierFlags);
        EXPECT_EQ(stroke->characters, row.expected.characters);
    }
}

// The controller recognises key-down and flags-changed events only; releases of ordinary keys and
// the release of Caps Lock (which changes nothing) never reach it.
TEST(KeyTranslation, ReleasesOfOrdinaryKeysAreNotEvents) {
    EXPECT_FALSE(translateKey(IBUS_KEY_b, 48, Release));
    EXPECT_FALSE(translateKey(IBUS_KEY_Return, 28, Release));
    EXPECT_FALSE(translateKey(IBUS_KEY_KP_1, 79, Release | IBUS_MOD2_MASK));
    EXPECT_FALSE(translateKey(IBUS_KEY_Caps_Lock, 58, Release | IBUS_LOCK_MASK));
}

// The toggle reads: an event without Shift, flags changed to exactly Shift, flags changed to none.
// A lone tap gives that pair; Shift held while typing gives a key-down between press and release.
TEST(KeyTranslation, LoneShiftTapGivesTheFlagsChangedPair) {
    auto press = translateKey(IBUS_KEY_Shift_L, 42, 0);
    auto release = translateKey(IBUS_KEY_Shift_L, 42, IBUS_SHIFT_MASK | Release);
    ASSERT_TRUE(press && release);
    EXPECT_EQ(press->kind, Flags);
    EXPECT_EQ(press->modifierFlags, ModifierFlags::Shift);
    EXPECT_EQ(release->kind, Flags);
    EXPECT_EQ(release->modifierFlags, 0u);

    auto letter = translateKey(IBUS_KEY_A, 30, IBUS_SHIFT_MASK);
    ASSERT_TRUE(letter);
    EXPECT_EQ(letter->kind, Down);
    EXPECT_EQ(letter->modifierFlags, ModifierFlags::Shift);

    // Num Lock (Mod2) is no device-independent flag: keys typed with it on look as without.
    auto withNumLock = translateKey(IBUS_KEY_Shift_L, 42, IBUS_MOD2_MASK);
    ASSERT_TRUE(withNumLock);
    EXPECT_EQ(withNumLock->modifierFlags, ModifierFlags::Shift);
}

}  // namespace
