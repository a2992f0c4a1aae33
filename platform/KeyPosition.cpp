#include "KeyPosition.h"

#include <array>
#include <utility>

namespace platform {

namespace {

// X11/xkb key codes are the kernel's evdev codes plus this.
constexpr int kXkbOffset = 8;

struct Key {
    int position;
    int evdev;
    int qtKey;         // on a US keyboard
    const char* text;  // typed without and with Shift
    const char* shifted;
    bool keypad;
};

// US ANSI keyboard. A position appears once; the few PC keys with no Mac key of
// their own follow in kAliases.
constexpr std::array kKeys{
    Key{vk::A, 30, Qt::Key_A, "a", "A", false},
    Key{vk::S, 31, Qt::Key_S, "s", "S", false},
    Key{vk::D, 32, Qt::Key_D, "d", "D", false},
    Key{vk::F, 33, Qt::Key_F, "f", "F", false},
    Key{vk::H, 35, Qt::Key_H, "h", "H", false},
    Key{vk::G, 34, Qt::Key_G, "g", "G", false},
    Key{vk::Z, 44, Qt::Key_Z, "z", "Z", false},
    Key{vk::X, 45, Qt::Key_X, "x", "X", false},
    Key{vk::C, 46, Qt::Key_C, "c", "C", false},
    Key{vk::V, 47, Qt::Key_V, "v", "V", false},
    Key{vk::IsoSection, 86, Qt::Key_unknown, "<", ">", false},
    Key{vk::B, 48, Qt::Key_B, "b", "B", false},
    Key{vk::Q, 16, Qt::Key_Q, "q", "Q", false},
    Key{vk::W, 17, Qt::Key_W, "w", "W", false},
    Key{vk::E, 18, Qt::Key_E, "e", "E", false},
    Key{vk::R, 19, Qt::Key_R, "r", "R", false},
    Key{vk::Y, 21, Qt::Key_Y, "y", "Y", false},
    Key{vk::T, 20, Qt::Key_T, "t", "T", false},
    Key{vk::Key1, 2, Qt::Key_1, "1", "!", false},
    Key{vk::Key2, 3, Qt::Key_2, "2", "@", false},
    Key{vk::Key3, 4, Qt::Key_3, "3", "#", false},
    Key{vk::Key4, 5, Qt::Key_4, "4", "$", false},
    Key{vk::Key6, 7, Qt::Key_6, "6", "^", false},
    Key{vk::Key5, 6, Qt::Key_5, "5", "%", false},
    Key{vk::Equal, 13, Qt::Key_Equal, "=", "+", false},
    Key{vk::Key9, 10, Qt::Key_9, "9", "(", false},
    Key{vk::Key7, 8, Qt::Key_7, "7", "&", false},
    Key{vk::Minus, 12, Qt::Key_Minus, "-", "_", false},
    Key{vk::Key8, 9, Qt::Key_8, "8", "*", false},
    Key{vk::Key0, 11, Qt::Key_0, "0", ")", false},
    Key{vk::RightBracket, 27, Qt::Key_BracketRight, "]", "}", false},
    Key{vk::O, 24, Qt::Key_O, "o", "O", false},
    Key{vk::U, 22, Qt::Key_U, "u", "U", false},
    Key{vk::LeftBracket, 26, Qt::Key_BracketLeft, "[", "{", false},
    Key{vk::I, 23, Qt::Key_I, "i", "I", false},
    Key{vk::P, 25, Qt::Key_P, "p", "P", false},
    Key{vk::Return, 28, Qt::Key_Return, "\r", "\r", false},
    Key{vk::L, 38, Qt::Key_L, "l", "L", false},
    Key{vk::J, 36, Qt::Key_J, "j", "J", false},
    Key{vk::Quote, 40, Qt::Key_Apostrophe, "'", "\"", false},
    Key{vk::K, 37, Qt::Key_K, "k", "K", false},
    Key{vk::Semicolon, 39, Qt::Key_Semicolon, ";", ":", false},
    Key{vk::Backslash, 43, Qt::Key_Backslash, "\\", "|", false},
    Key{vk::Comma, 51, Qt::Key_Comma, ",", "<", false},
    Key{vk::Slash, 53, Qt::Key_Slash, "/", "?", false},
    Key{vk::N, 49, Qt::Key_N, "n", "N", false},
    Key{vk::M, 50, Qt::Key_M, "m", "M", false},
    Key{vk::Period, 52, Qt::Key_Period, ".", ">", false},
    Key{vk::Tab, 15, Qt::Key_Tab, "\t", "", false},
    Key{vk::Space, 57, Qt::Key_Space, " ", " ", false},
    Key{vk::Grave, 41, Qt::Key_QuoteLeft, "`", "~", false},
    Key{vk::Delete, 14, Qt::Key_Backspace, "\b", "\b", false},
    Key{vk::Escape, 1, Qt::Key_Escape, "\x1b", "\x1b", false},
    Key{vk::RightCommand, 126, Qt::Key_Meta, "", "", false},
    Key{vk::Command, 125, Qt::Key_Meta, "", "", false},
    Key{vk::Shift, 42, Qt::Key_Shift, "", "", false},
    Key{vk::CapsLock, 58, Qt::Key_CapsLock, "", "", false},
    Key{vk::Option, 56, Qt::Key_Alt, "", "", false},
    Key{vk::Control, 29, Qt::Key_Control, "", "", false},
    Key{vk::RightShift, 54, Qt::Key_Shift, "", "", false},
    Key{vk::RightOption, 100, Qt::Key_AltGr, "", "", false},
    Key{vk::RightControl, 97, Qt::Key_Control, "", "", false},
    Key{vk::F17, 187, Qt::Key_F17, "", "", false},
    Key{vk::KeypadDecimal, 83, Qt::Key_Period, ".", ".", true},
    Key{vk::KeypadMultiply, 55, Qt::Key_Asterisk, "*", "*", true},
    Key{vk::KeypadPlus, 78, Qt::Key_Plus, "+", "+", true},
    Key{vk::KeypadClear, 69, Qt::Key_NumLock, "", "", true},
    Key{vk::VolumeUp, 115, Qt::Key_VolumeUp, "", "", false},
    Key{vk::VolumeDown, 114, Qt::Key_VolumeDown, "", "", false},
    Key{vk::Mute, 113, Qt::Key_VolumeMute, "", "", false},
    Key{vk::KeypadDivide, 98, Qt::Key_Slash, "/", "/", true},
    Key{vk::KeypadEnter, 96, Qt::Key_Enter, "\r", "\r", true},
    Key{vk::KeypadMinus, 74, Qt::Key_Minus, "-", "-", true},
    Key{vk::F18, 188, Qt::Key_F18, "", "", false},
    Key{vk::F19, 189, Qt::Key_F19, "", "", false},
    Key{vk::KeypadEquals, 117, Qt::Key_Equal, "=", "=", true},
    Key{vk::Keypad0, 82, Qt::Key_0, "0", "0", true},
    Key{vk::Keypad1, 79, Qt::Key_1, "1", "1", true},
    Key{vk::Keypad2, 80, Qt::Key_2, "2", "2", true},
    Key{vk::Keypad3, 81, Qt::Key_3, "3", "3", true},
    Key{vk::Keypad4, 75, Qt::Key_4, "4", "4", true},
    Key{vk::Keypad5, 76, Qt::Key_5, "5", "5", true},
    Key{vk::Keypad6, 77, Qt::Key_6, "6", "6", true},
    Key{vk::Keypad7, 71, Qt::Key_7, "7", "7", true},
    Key{vk::F20, 190, Qt::Key_F20, "", "", false},
    Key{vk::Keypad8, 72, Qt::Key_8, "8", "8", true},
    Key{vk::Keypad9, 73, Qt::Key_9, "9", "9", true},
    Key{vk::JisYen, 124, Qt::Key_yen, "", "", false},
    Key{vk::JisUnderscore, 89, Qt::Key_unknown, "", "", false},
    Key{vk::JisKeypadComma, 95, Qt::Key_unknown, ",", ",", true},
    Key{vk::F5, 63, Qt::Key_F5, "", "", false},
    Key{vk::F6, 64, Qt::Key_F6, "", "", false},
    Key{vk::F7, 65, Qt::Key_F7, "", "", false},
    Key{vk::F3, 61, Qt::Key_F3, "", "", false},
    Key{vk::F8, 66, Qt::Key_F8, "", "", false},
    Key{vk::F9, 67, Qt::Key_F9, "", "", false},
    Key{vk::JisEisu, 123, Qt::Key_Eisu_toggle, "", "", false},
    Key{vk::F11, 87, Qt::Key_F11, "", "", false},
    Key{vk::JisKana, 122, Qt::Key_Kana_Lock, "", "", false},
    Key{vk::F13, 183, Qt::Key_F13, "", "", false},
    Key{vk::F16, 186, Qt::Key_F16, "", "", false},
    Key{vk::F14, 184, Qt::Key_F14, "", "", false},
    Key{vk::F10, 68, Qt::Key_F10, "", "", false},
    Key{vk::ContextMenu, 127, Qt::Key_Menu, "", "", false},
    Key{vk::F12, 88, Qt::Key_F12, "", "", false},
    Key{vk::F15, 185, Qt::Key_F15, "", "", false},
    // A PC keyboard's Insert sits where the Mac's Help key does, and is read as it.
    Key{vk::Help, 110, Qt::Key_Insert, "", "", false},
    Key{vk::Home, 102, Qt::Key_Home, "", "", false},
    Key{vk::PageUp, 104, Qt::Key_PageUp, "", "", false},
    Key{vk::ForwardDelete, 111, Qt::Key_Delete, "\x7f", "\x7f", false},
    Key{vk::F4, 62, Qt::Key_F4, "", "", false},
    Key{vk::End, 107, Qt::Key_End, "", "", false},
    Key{vk::F2, 60, Qt::Key_F2, "", "", false},
    Key{vk::PageDown, 109, Qt::Key_PageDown, "", "", false},
    Key{vk::F1, 59, Qt::Key_F1, "", "", false},
    Key{vk::LeftArrow, 105, Qt::Key_Left, "", "", false},
    Key{vk::RightArrow, 106, Qt::Key_Right, "", "", false},
    Key{vk::DownArrow, 108, Qt::Key_Down, "", "", false},
    Key{vk::UpArrow, 103, Qt::Key_Up, "", "", false},
};

// Other keys read as a Mac position; never produced by scanCodeForKeyPosition.
struct Alias {
    int evdev;
    int position;
};
constexpr std::array kAliases{
    Alias{138, vk::Help},  // a real Help key
};

const Key* byPosition(int position) {
    for (const Key& k : kKeys)
        if (k.position == position) return &k;
    return nullptr;
}

// Events made by code carry no scan code: place them by key, as on a US keyboard.
// Keys a US keyboard does not have (ISO, JIS) are never guessed.
int positionOfQtKey(int qtKey, bool keypad) {
    if (qtKey == Qt::Key_unknown || qtKey == 0) return -1;
    if (qtKey == Qt::Key_Backtab) qtKey = Qt::Key_Tab;
    for (const Key& k : kKeys)
        if (k.qtKey == qtKey && k.keypad == keypad) return k.position;
    if (keypad) return positionOfQtKey(qtKey, false);
    // Keys typed with Shift report the shifted symbol.
    if (qtKey > 0x20 && qtKey < 0x7F) {
        const QString symbol = QChar(char16_t(qtKey));
        for (const Key& k : kKeys)
            if (!k.keypad && k.qtKey != Qt::Key_unknown && QLatin1String(k.shifted) == symbol)
                return k.position;
    }
    // Keys only the keypad has (Enter, Clear), reported without the keypad flag.
    for (const Key& k : kKeys)
        if (k.qtKey == qtKey && k.keypad) return k.position;
    return -1;
}

}  // namespace

namespace {

constexpr std::pair<Qt::KeyboardModifier, uint> kModifiers[] = {
    {Qt::ShiftModifier, mods::Shift},       {Qt::MetaModifier, mods::Control},
    {Qt::AltModifier, mods::Option},        {Qt::ControlModifier, mods::Command},
    {Qt::KeypadModifier, mods::NumericPad},
};

}  // namespace

uint macModifierFlags(Qt::KeyboardModifiers modifiers) {
    uint flags = 0;
    for (const auto& [qt, mac] : kModifiers)
        if (modifiers.testFlag(qt)) flags |= mac;
    return flags;
}

Qt::KeyboardModifiers qtModifiers(uint macFlags) {
    Qt::KeyboardModifiers modifiers;
    for (const auto& [qt, mac] : kModifiers)
        if (macFlags & mac) modifiers |= qt;
    return modifiers;
}

int keyPositionForScanCode(quint32 scanCode) {
    const int evdev = int(scanCode) - kXkbOffset;
    if (evdev <= 0) return -1;
    for (const Key& k : kKeys)
        if (k.evdev == evdev) return k.position;
    for (const Alias& a : kAliases)
        if (a.evdev == evdev) return a.position;
    return -1;
}

int scanCodeForKeyPosition(int position) {
    const Key* k = byPosition(position);
    return k ? k->evdev + kXkbOffset : -1;
}

int keyPosition(const QKeyEvent& event) {
    if (event.nativeScanCode() != 0) return keyPositionForScanCode(event.nativeScanCode());
    return positionOfQtKey(event.key(), event.modifiers().testFlag(Qt::KeypadModifier));
}

std::unique_ptr<QKeyEvent> makeKeyEvent(QEvent::Type type, int position,
                                        Qt::KeyboardModifiers modifiers) {
    const Key* k = byPosition(position);
    if (!k) return nullptr;
    if (k->keypad) modifiers |= Qt::KeypadModifier;
    const bool shift = modifiers.testFlag(Qt::ShiftModifier);
    int qtKey = k->qtKey;
    if (qtKey == Qt::Key_Tab && shift) qtKey = Qt::Key_Backtab;
    // Control and Command type no text, as with a real keyboard.
    const bool typesText = !modifiers.testAnyFlags(Qt::ControlModifier | Qt::MetaModifier);
    const QString text = typesText ? QString::fromLatin1(shift ? k->shifted : k->text) : QString();
    return std::make_unique<QKeyEvent>(type, qtKey, modifiers, quint32(k->evdev + kXkbOffset), 0u,
                                       0u, text);
}

}  // namespace platform
