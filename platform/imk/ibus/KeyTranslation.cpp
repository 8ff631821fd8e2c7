#include "platform/imk/ibus/KeyTranslation.h"

#include <ibus.h>

#include <array>
#include <utility>

#include "platform/foundation/UnicodeString.h"
#include "platform/ui/Event.h"

namespace platform::imk::ibus {
namespace {

using platform::ModifierFlags;

// macOS virtual key codes.
namespace mac {
constexpr std::uint16_t Return = 36, Tab = 48, Space = 49, Delete = 51, Escape = 53;
constexpr std::uint16_t Command = 55, Shift = 56, CapsLock = 57, Option = 58, Control = 59;
constexpr std::uint16_t RightShift = 60, RightOption = 61, RightControl = 62, RightCommand = 54;
constexpr std::uint16_t Help = 114, Home = 115, PageUp = 116, ForwardDelete = 117, End = 119;
constexpr std::uint16_t PageDown = 121, Left = 123, Right = 124, Down = 125, Up = 126;
constexpr std::uint16_t KeypadDecimal = 65, KeypadMultiply = 67, KeypadPlus = 69;
constexpr std::uint16_t KeypadClear = 71, KeypadDivide = 75, KeypadEnter = 76;
constexpr std::uint16_t KeypadMinus = 78, KeypadEquals = 81;
constexpr std::array<std::uint16_t, 10> KeypadDigits = {82, 83, 84, 85, 86, 87, 88, 89, 91, 92};
constexpr std::array<std::uint16_t, 20> FunctionKeys = {
    122, 120, 99, 118, 96, 97, 98, 100, 101, 109, 103, 111, 105, 107, 113, 106, 64, 79, 80, 90};
}  // namespace mac

// evdev code → macOS code for the keys of the main block, by position.
constexpr std::pair<std::uint32_t, std::uint16_t> kPhysicalKeys[] = {
    {1, mac::Escape}, {2, 18},  {3, 19},         {4, 20},  {5, 21},  {6, 23},  {7, 22},
    {8, 26},          {9, 28},  {10, 25},        {11, 29}, {12, 27}, {13, 24}, {14, mac::Delete},
    {15, mac::Tab},   {16, 12}, {17, 13},        {18, 14}, {19, 15}, {20, 17}, {21, 16},
    {22, 32},         {23, 34}, {24, 31},        {25, 35}, {26, 33}, {27, 30}, {28, mac::Return},
    {30, 0},          {31, 1},  {32, 2},         {33, 3},  {34, 5},  {35, 4},  {36, 38},
    {37, 40},         {38, 37}, {39, 41},        {40, 39}, {41, 50}, {43, 42}, {44, 6},
    {45, 7},          {46, 8},  {47, 9},         {48, 11}, {49, 45}, {50, 46}, {51, 43},
    {52, 47},         {53, 44}, {57, mac::Space}};

// The same keys by the characters they type in the US layout, for keysyms whose hardware code is
// not a standard one (remapped or synthesised keys).
constexpr std::pair<char, std::uint16_t> kUsCharacters[] = {
    {'a', 0},   {'s', 1},  {'d', 2},  {'f', 3},  {'h', 4},  {'g', 5},   {'z', 6},  {'x', 7},
    {'c', 8},   {'v', 9},  {'b', 11}, {'q', 12}, {'w', 13}, {'e', 14},  {'r', 15}, {'y', 16},
    {'t', 17},  {'1', 18}, {'2', 19}, {'3', 20}, {'4', 21}, {'6', 22},  {'5', 23}, {'=', 24},
    {'9', 25},  {'7', 26}, {'-', 27}, {'8', 28}, {'0', 29}, {']', 30},  {'o', 31}, {'u', 32},
    {'[', 33},  {'i', 34}, {'p', 35}, {'l', 37}, {'j', 38}, {'\'', 39}, {'k', 40}, {';', 41},
    {'\\', 42}, {',', 43}, {'/', 44}, {'n', 45}, {'m', 46}, {'.', 47},  {'`', 50}, {' ', 49},
    {'!', 18},  {'@', 19}, {'#', 20}, {'$', 21}, {'^', 22}, {'%', 23},  {'+', 24}, {'(', 25},
    {'&', 26},  {'_', 27}, {'*', 28}, {')', 29}, {'}', 30}, {'{', 33},  {'"', 39}, {':', 41},
    {'|', 42},  {'<', 43}, {'?', 44}, {'>', 47}, {'~', 50}};

struct Special {
    std::uint32_t keyval;
    std::uint16_t keyCode;
    const char* characters;
    std::uint64_t extraFlags;
};

constexpr std::uint64_t kPad = ModifierFlags::NumericPad;
constexpr std::uint64_t kFn = ModifierFlags::Function;

// Keys whose code and characters follow from the keysym alone.
constexpr Special kSpecialKeys[] = {
    {IBUS_KEY_Return, mac::Return, "\r", 0},
    {IBUS_KEY_Tab, mac::Tab, "\t", 0},
    {IBUS_KEY_ISO_Left_Tab, mac::Tab, "\t", 0},
    {IBUS_KEY_BackSpace, mac::Delete, "\x7f", 0},
    {IBUS_KEY_Escape, mac::Escape, "\x1b", 0},
    {IBUS_KEY_space, mac::Space, " ", 0},
    {IBUS_KEY_Delete, mac::ForwardDelete, "", kFn},
    {IBUS_KEY_Home, mac::Home, "", kFn},
    {IBUS_KEY_End, mac::End, "", kFn},
    {IBUS_KEY_Page_Up, mac::PageUp, "", kFn},
    {IBUS_KEY_Page_Down, mac::PageDown, "", kFn},
    {IBUS_KEY_Insert, mac::Help, "", kFn},
    {IBUS_KEY_Left, mac::Left, "", kPad | kFn},
    {IBUS_KEY_Right, mac::Right, "", kPad | kFn},
    {IBUS_KEY_Down, mac::Down, "", kPad | kFn},
    {IBUS_KEY_Up, mac::Up, "", kPad | kFn},
    {IBUS_KEY_KP_Enter, mac::KeypadEnter, "\x03", kPad},
    {IBUS_KEY_KP_Decimal, mac::KeypadDecimal, ".", kPad},
    {IBUS_KEY_KP_Separator, mac::KeypadDecimal, ",", kPad},
    {IBUS_KEY_KP_Multiply, mac::KeypadMultiply, "*", kPad},
    {IBUS_KEY_KP_Add, mac::KeypadPlus, "+", kPad},
    {IBUS_KEY_KP_Subtract, mac::KeypadMinus, "-", kPad},
    {IBUS_KEY_KP_Divide, mac::KeypadDivide, "/", kPad},
    {IBUS_KEY_KP_Equal, mac::KeypadEquals, "=", kPad},
    {IBUS_KEY_KP_Space, mac::Space, " ", kPad},
    {IBUS_KEY_KP_Tab, mac::Tab, "\t", kPad},
    {IBUS_KEY_Clear, mac::KeypadClear, "", kPad},
    {IBUS_KEY_KP_Begin, mac::KeypadClear, "", kPad},
    {IBUS_KEY_KP_Home, mac::Home, "", kPad | kFn},
    {IBUS_KEY_KP_End, mac::End, "", kPad | kFn},
    {IBUS_KEY_KP_Page_Up, mac::PageUp, "", kPad | kFn},
    {IBUS_KEY_KP_Page_Down, mac::PageDown, "", kPad | kFn},
    {IBUS_KEY_KP_Insert, mac::Help, "", kPad | kFn},
    {IBUS_KEY_KP_Delete, mac::ForwardDelete, "", kPad | kFn},
    {IBUS_KEY_KP_Left, mac::Left, "", kPad | kFn},
    {IBUS_KEY_KP_Right, mac::Right, "", kPad | kFn},
    {IBUS_KEY_KP_Up, mac::Up, "", kPad | kFn},
    {IBUS_KEY_KP_Down, mac::Down, "", kPad | kFn},
};

struct Modifier {
    std::uint32_t keyval;
    std::uint16_t keyCode;
    std::uint64_t flag;
};

constexpr Modifier kModifierKeys[] = {
    {IBUS_KEY_Shift_L, mac::Shift, ModifierFlags::Shift},
    {IBUS_KEY_Shift_R, mac::RightShift, ModifierFlags::Shift},
    {IBUS_KEY_Control_L, mac::Control, ModifierFlags::Control},
    {IBUS_KEY_Control_R, mac::RightControl, ModifierFlags::Control},
    {IBUS_KEY_Alt_L, mac::Option, ModifierFlags::Option},
    {IBUS_KEY_Alt_R, mac::RightOption, ModifierFlags::Option},
    {IBUS_KEY_ISO_Level3_Shift, mac::RightOption, ModifierFlags::Option},
    {IBUS_KEY_Super_L, mac::Command, ModifierFlags::Command},
    {IBUS_KEY_Super_R, mac::RightCommand, ModifierFlags::Command},
    {IBUS_KEY_Meta_L, mac::Command, ModifierFlags::Command},
    {IBUS_KEY_Meta_R, mac::RightCommand, ModifierFlags::Command},
    {IBUS_KEY_Caps_Lock, mac::CapsLock, ModifierFlags::CapsLock},
};

template <typename Table, typename Key>
auto find(const Table& table, Key key) -> decltype(&table[0]) {
    for (const auto& entry : table) {
        if (entry.keyval == key) return &entry;
    }
    return nullptr;
}

std::optional<std::uint16_t> physicalKeyCode(std::uint32_t keycode) {
    for (const auto& [evdev, code] : kPhysicalKeys) {
        if (evdev == keycode) return code;
    }
    return std::nullopt;
}

std::optional<std::uint16_t> usKeyCode(char32_t character) {
    if (character >= 'A' && character <= 'Z') character += 'a' - 'A';
    for (const auto& [typed, code] : kUsCharacters) {
        if (static_cast<char32_t>(typed) == character) return code;
    }
    return std::nullopt;
}

}  // namespace

std::uint64_t modifierFlagsForState(std::uint32_t state) {
    std::uint64_t flags = 0;
    if (state & IBUS_SHIFT_MASK) flags |= ModifierFlags::Shift;
    if (state & IBUS_LOCK_MASK) flags |= ModifierFlags::CapsLock;
    if (state & IBUS_CONTROL_MASK) flags |= ModifierFlags::Control;
    if (state & IBUS_MOD1_MASK) flags |= ModifierFlags::Option;
    if (state & (IBUS_MOD4_MASK | IBUS_SUPER_MASK)) flags |= ModifierFlags::Command;
    return flags;
}

std::optional<KeyStroke> translateKey(std::uint32_t keyval, std::uint32_t keycode,
                                      std::uint32_t state) {
    const bool released = state & IBUS_RELEASE_MASK;
    const std::uint64_t flags = modifierFlagsForState(state);

    if (const Modifier* modifier = find(kModifierKeys, keyval)) {
        // IBus hands the state from before the event; the stroke carries the state after it.
        std::uint64_t after = flags;
        if (modifier->flag == ModifierFlags::CapsLock) {
            if (released) return std::nullopt;  // the lock changes on the press alone
            after ^= ModifierFlags::CapsLock;
        } else if (released) {
            after &= ~modifier->flag;
        } else {
            after |= modifier->flag;
        }
        return KeyStroke{KeyStroke::Kind::FlagsChanged, modifier->keyCode, after, ""};
    }
    if (released) return std::nullopt;

    if (const Special* special = find(kSpecialKeys, keyval)) {
        return KeyStroke{KeyStroke::Kind::KeyDown, special->keyCode, flags | special->extraFlags,
                         special->characters};
    }
    if (keyval >= IBUS_KEY_KP_0 && keyval <= IBUS_KEY_KP_9) {
        const unsigned digit = keyval - IBUS_KEY_KP_0;
        return KeyStroke{KeyStroke::Kind::KeyDown, mac::KeypadDigits[digit], flags | kPad,
                         std::string(1, static_cast<char>('0' + digit))};
    }
    if (keyval >= IBUS_KEY_F1 && keyval < IBUS_KEY_F1 + mac::FunctionKeys.size()) {
        return KeyStroke{KeyStroke::Kind::KeyDown, mac::FunctionKeys[keyval - IBUS_KEY_F1],
                         flags | kFn, ""};
    }

    // IBus maps every keysym of the Unicode block to a code point, surrogates and values past
    // U+10FFFF included; such keys type nothing.
    char32_t character = ibus_keyval_to_unicode(keyval);
    if (!isScalarValue(character)) character = 0;
    std::string characters;
    if (character >= 0x20 && character != 0x7f) {
        appendUtf8(characters, character);
    }
    std::optional<std::uint16_t> code = physicalKeyCode(keycode);
    if (!code && character) code = usKeyCode(character);
    // A key with neither a known position nor a character is still a key press: the controller
    // must see it to drop a composition, so it travels with code 0xFFFF and no characters.
    return KeyStroke{KeyStroke::Kind::KeyDown, code.value_or(0xFFFF), flags, characters};
}

}  // namespace platform::imk::ibus
