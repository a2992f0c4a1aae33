#pragma once

// Keys by where they sit on the keyboard, not by what they type: the Mac's
// virtual key codes of the US (ANSI) layout (A = 0, 1 = 18, Return = 36,
// Left = 123, ...). Shortcuts bound to positions keep working under any layout,
// Cyrillic included. Here they come from the native scan code of key events,
// an X11/xkb key code (the evdev code + 8). Any thread.

#include "platform_export.h"

#include <QEvent>
#include <QKeyEvent>

#include <memory>

namespace platform {

// Position codes, named as the Mac names them.
namespace vk {
inline constexpr int A = 0x00, S = 0x01, D = 0x02, F = 0x03, H = 0x04, G = 0x05, Z = 0x06, X = 0x07,
                     C = 0x08, V = 0x09, B = 0x0B, Q = 0x0C, W = 0x0D, E = 0x0E, R = 0x0F, Y = 0x10,
                     T = 0x11, Key1 = 0x12, Key2 = 0x13, Key3 = 0x14, Key4 = 0x15, Key6 = 0x16,
                     Key5 = 0x17, Equal = 0x18, Key9 = 0x19, Key7 = 0x1A, Minus = 0x1B, Key8 = 0x1C,
                     Key0 = 0x1D, RightBracket = 0x1E, O = 0x1F, U = 0x20, LeftBracket = 0x21,
                     I = 0x22, P = 0x23, Return = 0x24, L = 0x25, J = 0x26, Quote = 0x27, K = 0x28,
                     Semicolon = 0x29, Backslash = 0x2A, Comma = 0x2B, Slash = 0x2C, N = 0x2D,
                     M = 0x2E, Period = 0x2F, Tab = 0x30, Space = 0x31, Grave = 0x32, Delete = 0x33,
                     Escape = 0x35, RightCommand = 0x36, Command = 0x37, Shift = 0x38,
                     CapsLock = 0x39, Option = 0x3A, Control = 0x3B, RightShift = 0x3C,
                     RightOption = 0x3D, RightControl = 0x3E, F17 = 0x40, KeypadDecimal = 0x41,
                     KeypadMultiply = 0x43, KeypadPlus = 0x45, KeypadClear = 0x47, VolumeUp = 0x48,
                     VolumeDown = 0x49, Mute = 0x4A, KeypadDivide = 0x4B, KeypadEnter = 0x4C,
                     KeypadMinus = 0x4E, F18 = 0x4F, F19 = 0x50, KeypadEquals = 0x51,
                     Keypad0 = 0x52, Keypad1 = 0x53, Keypad2 = 0x54, Keypad3 = 0x55, Keypad4 = 0x56,
                     Keypad5 = 0x57, Keypad6 = 0x58, Keypad7 = 0x59, F20 = 0x5A, Keypad8 = 0x5B,
                     Keypad9 = 0x5C, F5 = 0x60, F6 = 0x61, F7 = 0x62, F3 = 0x63, F8 = 0x64,
                     F9 = 0x65, F11 = 0x67, F13 = 0x69, F16 = 0x6A, F14 = 0x6B, F10 = 0x6D,
                     ContextMenu = 0x6E, F12 = 0x6F, F15 = 0x71, Help = 0x72, Home = 0x73,
                     PageUp = 0x74, ForwardDelete = 0x75, F4 = 0x76, End = 0x77, F2 = 0x78,
                     PageDown = 0x79, F1 = 0x7A, LeftArrow = 0x7B, RightArrow = 0x7C,
                     DownArrow = 0x7D, UpArrow = 0x7E;
// The ISO key beside the left Shift, and the Japanese keyboard's own.
inline constexpr int IsoSection = 0x0A, JisYen = 0x5D, JisUnderscore = 0x5E, JisKeypadComma = 0x5F,
                     JisEisu = 0x66, JisKana = 0x68;
}  // namespace vk

// Modifier bits as the Mac reports them. Command is Qt's Control modifier and
// Control is Qt's Meta, as Qt itself maps them on the Mac: shortcuts written
// for Command are typed with Ctrl here.
namespace mods {
inline constexpr uint Shift = 0x20000, Control = 0x40000, Option = 0x80000, Command = 0x100000,
                      NumericPad = 0x200000;
// The four a shortcut is made of.
inline constexpr uint DeviceIndependentMask = Shift | Control | Option | Command;
}  // namespace mods

QOV_PLATFORM_API uint macModifierFlags(Qt::KeyboardModifiers modifiers);
QOV_PLATFORM_API Qt::KeyboardModifiers qtModifiers(uint macFlags);

// The position of a native scan code; -1 when it has none.
QOV_PLATFORM_API int keyPositionForScanCode(quint32 scanCode);

// The native scan code of a position; -1 when it has none.
QOV_PLATFORM_API int scanCodeForKeyPosition(int position);

// The event's position by its native scan code. An event without one (made up
// by code, 0) is placed by its key as on a US keyboard. -1 when unknown.
QOV_PLATFORM_API int keyPosition(const QKeyEvent& event);

// A key event as the US layout would produce at that position, scan code
// included: for tests and automation. Null for an unknown position.
QOV_PLATFORM_API std::unique_ptr<QKeyEvent> makeKeyEvent(
    QEvent::Type type, int position, Qt::KeyboardModifiers modifiers = Qt::NoModifier);

}  // namespace platform
