#pragma once

#include <cstdint>

enum class TMouseButton : uint8_t { Left, Right, Middle };

// Modifier keys and mouse buttons held during an input event.
using TShiftState = uint32_t;
constexpr TShiftState ssShift = 1;
constexpr TShiftState ssAlt = 2;
constexpr TShiftState ssCtrl = 4;
constexpr TShiftState ssLeft = 8;
constexpr TShiftState ssRight = 16;
constexpr TShiftState ssMiddle = 32;
// Super (the logo key), Hyper and Meta.
constexpr TShiftState ssSuper = 64;
constexpr TShiftState ssHyper = 128;
constexpr TShiftState ssMeta = 256;
// Every modifier key; a shortcut acts only when none is held but those it names. Lock keys
// (Caps Lock, Num Lock) are no modifiers here.
constexpr TShiftState ssModifiers = ssShift | ssAlt | ssCtrl | ssSuper | ssHyper | ssMeta;

// Key codes of key down and key up: letters as 'A' to 'Z', digits as '0' to '9', and these.
constexpr uint16_t VK_BACK = 0x08;
constexpr uint16_t VK_TAB = 0x09;
constexpr uint16_t VK_RETURN = 0x0D;
constexpr uint16_t VK_SHIFT = 0x10;
constexpr uint16_t VK_CONTROL = 0x11;
constexpr uint16_t VK_MENU = 0x12;
constexpr uint16_t VK_CAPITAL = 0x14;
constexpr uint16_t VK_ESCAPE = 0x1B;
constexpr uint16_t VK_SPACE = 0x20;
constexpr uint16_t VK_LEFT = 0x25;
constexpr uint16_t VK_UP = 0x26;
constexpr uint16_t VK_RIGHT = 0x27;
constexpr uint16_t VK_DOWN = 0x28;
constexpr uint16_t VK_ADD = 0x6B;
constexpr uint16_t VK_SUBTRACT = 0x6D;
constexpr uint16_t VK_F1 = 0x70;
// The main keyboard's plus-and-equal and minus keys.
constexpr uint16_t VK_OEM_PLUS = 0xBB;
constexpr uint16_t VK_OEM_MINUS = 0xBD;
