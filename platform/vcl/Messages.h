#pragma once
// Window messages by number, virtual key codes and shift states.
#include "platform/core/Types.h"
#include "platform/rtti/ClassBuilder.h"
#include <cstdint>

namespace qz {

using WPARAM = std::uintptr_t;
using LPARAM = std::intptr_t;
using LRESULT = std::intptr_t;
using HWND = std::uintptr_t; // 0 = no window

struct TMessage {
    Cardinal Msg = 0;
    WPARAM WParam = 0;
    LPARAM LParam = 0;
    LRESULT Result = 0;
};

enum : Cardinal {
    WM_NULL = 0x0000,
    WM_MOVE = 0x0003,
    WM_SIZE = 0x0005,
    WM_ACTIVATE = 0x0006,
    WM_SETFOCUS = 0x0007,
    WM_KILLFOCUS = 0x0008,
    WM_PAINT = 0x000F,
    WM_CLOSE = 0x0010,
    WM_KEYDOWN = 0x0100,
    WM_KEYUP = 0x0101,
    WM_CHAR = 0x0102,
    WM_SYSKEYDOWN = 0x0104,
    WM_SYSCHAR = 0x0106,
    WM_MOUSEMOVE = 0x0200,
    WM_LBUTTONDOWN = 0x0201,
    WM_LBUTTONUP = 0x0202,
    WM_LBUTTONDBLCLK = 0x0203,
    WM_RBUTTONDOWN = 0x0204,
    WM_RBUTTONUP = 0x0205,
    WM_USER = 0x0400,
    // Component messages of the class library.
    CM_BASE = 0xB000,
    CM_ACTIVATE = CM_BASE + 0,
    CM_DEACTIVATE = CM_BASE + 1,
    CM_DIALOGKEY = CM_BASE + 5,
    CM_DIALOGCHAR = CM_BASE + 6,
    CM_FOCUSCHANGED = CM_BASE + 7,
    CM_ENABLEDCHANGED = CM_BASE + 12,
    CM_FONTCHANGED = CM_BASE + 14,
    CM_TEXTCHANGED = CM_BASE + 18,
    CM_ENTER = CM_BASE + 19,
    CM_EXIT = CM_BASE + 20,
    CM_VISIBLECHANGED = CM_BASE + 22,
    CM_RELEASE = CM_BASE + 33,
    CM_MOUSEENTER = CM_BASE + 19 + 0x100,
};

// Virtual keys.
enum : Word {
    VK_BACK = 0x08,
    VK_TAB = 0x09,
    VK_RETURN = 0x0D,
    VK_SHIFT = 0x10,
    VK_CONTROL = 0x11,
    VK_MENU = 0x12,
    VK_ESCAPE = 0x1B,
    VK_SPACE = 0x20,
    VK_PRIOR = 0x21,
    VK_NEXT = 0x22,
    VK_END = 0x23,
    VK_HOME = 0x24,
    VK_LEFT = 0x25,
    VK_UP = 0x26,
    VK_RIGHT = 0x27,
    VK_DOWN = 0x28,
    VK_INSERT = 0x2D,
    VK_DELETE = 0x2E,
    VK_F1 = 0x70,
    VK_F2 = 0x71,
    VK_F3 = 0x72,
    VK_F4 = 0x73,
    VK_F5 = 0x74,
    VK_F10 = 0x79,
    VK_F12 = 0x7B,
};

QZ_ENUM(TShiftStateItem, ssShift, ssAlt, ssCtrl, ssLeft, ssRight, ssMiddle, ssDouble)
QZ_SET(TShiftState, TShiftStateItem)
QZ_ENUM(TMouseButton, mbLeft, mbRight, mbMiddle)

// Key and mouse flags carried in message parameters.
enum : WPARAM { MK_LBUTTON = 0x1, MK_RBUTTON = 0x2, MK_SHIFT = 0x4, MK_CONTROL = 0x8, MK_MBUTTON = 0x10 };
inline LPARAM MakeLParam(int lo, int hi) {
    return static_cast<LPARAM>((static_cast<Cardinal>(hi & 0xFFFF) << 16) |
                               static_cast<Cardinal>(lo & 0xFFFF));
}
inline int LoWordSigned(LPARAM l) {
    return static_cast<short>(l & 0xFFFF);
}
inline int HiWordSigned(LPARAM l) {
    return static_cast<short>((l >> 16) & 0xFFFF);
}

} // namespace qz
