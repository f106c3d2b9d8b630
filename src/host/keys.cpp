// Key translation. GLFW 3 key codes are first brought to the GLFW 2.7 codes, whose table into
// the framework's key codes (the Windows virtual-key numbers) the game was written against.
#include "host/glfw_game.h"

#define GLFW_INCLUDE_NONE
#include <GLFW/glfw3.h>

namespace {

// GLFW 2.7 key codes: printable keys are their ASCII codes, the rest count up from 256.
namespace glfw2 {
const int KEY_ESC = 257;
const int KEY_F1 = 258;
const int KEY_F12 = 269;
const int KEY_UP = 283;
const int KEY_DOWN = 284;
const int KEY_LEFT = 285;
const int KEY_RIGHT = 286;
const int KEY_LSHIFT = 287;
const int KEY_RSHIFT = 288;
const int KEY_LCTRL = 289;
const int KEY_RCTRL = 290;
const int KEY_LALT = 291;
const int KEY_RALT = 292;
const int KEY_TAB = 293;
const int KEY_ENTER = 294;
const int KEY_BACKSPACE = 295;
const int KEY_INSERT = 296;
const int KEY_DEL = 297;
const int KEY_PAGEUP = 298;
const int KEY_PAGEDOWN = 299;
const int KEY_HOME = 300;
const int KEY_END = 301;
const int KEY_KP_0 = 302;
const int KEY_KP_9 = 311;
const int KEY_KP_DIVIDE = 312;
const int KEY_KP_MULTIPLY = 313;
const int KEY_KP_SUBTRACT = 314;
const int KEY_KP_ADD = 315;
const int KEY_KP_DECIMAL = 316;
const int KEY_KP_EQUAL = 317;
const int KEY_KP_ENTER = 318;
const int KEY_KP_NUM_LOCK = 319;
const int KEY_CAPS_LOCK = 320;
const int KEY_SCROLL_LOCK = 321;
const int KEY_PAUSE = 322;
const int KEY_LSUPER = 323;
const int KEY_RSUPER = 324;
const int KEY_MENU = 325;
}  // namespace glfw2

// Framework codes that start a run of keys.
const int kF1 = 112;
const int kNumpad0 = 96;

// Editing keys deliver a character too; cursor and paging keys get codes above the 16-bit
// range so they never collide with a typed character.
const int kEditingCharOffset = 0x10000;
const int kDeleteChar = 127;

bool IsGlfw3PrintableKey(int key) {
    return key == GLFW_KEY_SPACE || key == GLFW_KEY_APOSTROPHE ||
           (key >= GLFW_KEY_COMMA && key <= GLFW_KEY_9) || key == GLFW_KEY_SEMICOLON ||
           key == GLFW_KEY_EQUAL || (key >= GLFW_KEY_A && key <= GLFW_KEY_RIGHT_BRACKET) ||
           key == GLFW_KEY_GRAVE_ACCENT;
}

// The GLFW 3 key behind a framework code whose printed name depends on the keyboard layout, or
// 0. Letter and digit codes are the GLFW 3 codes themselves.
int LayoutKeyFor(int code) {
    if ((code >= '0' && code <= '9') || (code >= 'A' && code <= 'Z')) return code;
    switch (code) {
        case 186: return GLFW_KEY_SEMICOLON;
        case 187: return GLFW_KEY_EQUAL;
        case 188: return GLFW_KEY_COMMA;
        case 189: return GLFW_KEY_MINUS;
        case 190: return GLFW_KEY_PERIOD;
        case 191: return GLFW_KEY_SLASH;
        case 192: return GLFW_KEY_GRAVE_ACCENT;
        case 219: return GLFW_KEY_LEFT_BRACKET;
        case 220: return GLFW_KEY_BACKSLASH;
        case 221: return GLFW_KEY_RIGHT_BRACKET;
        case 222: return GLFW_KEY_APOSTROPHE;
        default: return 0;
    }
}

}  // namespace

String KxGlfwGame::KeyName(int key) {
    const int glfwKey = LayoutKeyFor(key);
    const char* name = glfwKey != 0 ? glfwGetKeyName(glfwKey, 0) : nullptr;
    return name ? String::FromUtf8(name) : String();
}

int KxGlfwGame::TransKey(int key) {
    if ((key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z')) return key;
    if (key >= glfw2::KEY_F1 && key <= glfw2::KEY_F12) return kF1 + (key - glfw2::KEY_F1);
    if (key >= glfw2::KEY_KP_0 && key <= glfw2::KEY_KP_9) {
        return kNumpad0 + (key - glfw2::KEY_KP_0);
    }

    switch (key) {
        case ' ': return 32;
        case '"':
        case '\'': return 222;
        case ',': return 188;
        case '-': return 189;
        case '.': return 190;
        case '/': return 191;
        case ';': return 186;
        case '=': return 187;
        case '[': return 219;
        case '\\': return 220;
        case ']': return 221;
        case '`':
        case '~': return 192;
        case glfw2::KEY_ESC: return 27;
        case glfw2::KEY_UP: return 38;
        case glfw2::KEY_DOWN: return 40;
        case glfw2::KEY_LEFT: return 37;
        case glfw2::KEY_RIGHT: return 39;
        case glfw2::KEY_LSHIFT:
        case glfw2::KEY_RSHIFT: return 16;
        case glfw2::KEY_LCTRL:
        case glfw2::KEY_RCTRL: return 17;
        case glfw2::KEY_TAB: return 9;
        case glfw2::KEY_ENTER: return 13;
        case glfw2::KEY_BACKSPACE: return 8;
        case glfw2::KEY_INSERT: return 45;
        case glfw2::KEY_DEL: return 46;
        case glfw2::KEY_PAGEUP: return 33;
        case glfw2::KEY_PAGEDOWN: return 34;
        case glfw2::KEY_HOME: return 36;
        case glfw2::KEY_END: return 35;
        case glfw2::KEY_KP_DIVIDE: return 111;
        case glfw2::KEY_KP_MULTIPLY: return 106;
        case glfw2::KEY_KP_SUBTRACT: return 109;
        case glfw2::KEY_KP_ADD: return 107;
        case glfw2::KEY_KP_DECIMAL: return 110;
        default: return 0;
    }
}

int KxGlfwGame::Glfw3KeyToGlfw2(int key) {
    if (IsGlfw3PrintableKey(key)) return key;
    if (key >= GLFW_KEY_F1 && key <= GLFW_KEY_F25) return glfw2::KEY_F1 + (key - GLFW_KEY_F1);
    if (key >= GLFW_KEY_KP_0 && key <= GLFW_KEY_KP_9) {
        return glfw2::KEY_KP_0 + (key - GLFW_KEY_KP_0);
    }

    switch (key) {
        case GLFW_KEY_ESCAPE: return glfw2::KEY_ESC;
        case GLFW_KEY_ENTER: return glfw2::KEY_ENTER;
        case GLFW_KEY_TAB: return glfw2::KEY_TAB;
        case GLFW_KEY_BACKSPACE: return glfw2::KEY_BACKSPACE;
        case GLFW_KEY_INSERT: return glfw2::KEY_INSERT;
        case GLFW_KEY_DELETE: return glfw2::KEY_DEL;
        case GLFW_KEY_RIGHT: return glfw2::KEY_RIGHT;
        case GLFW_KEY_LEFT: return glfw2::KEY_LEFT;
        case GLFW_KEY_DOWN: return glfw2::KEY_DOWN;
        case GLFW_KEY_UP: return glfw2::KEY_UP;
        case GLFW_KEY_PAGE_UP: return glfw2::KEY_PAGEUP;
        case GLFW_KEY_PAGE_DOWN: return glfw2::KEY_PAGEDOWN;
        case GLFW_KEY_HOME: return glfw2::KEY_HOME;
        case GLFW_KEY_END: return glfw2::KEY_END;
        case GLFW_KEY_CAPS_LOCK: return glfw2::KEY_CAPS_LOCK;
        case GLFW_KEY_SCROLL_LOCK: return glfw2::KEY_SCROLL_LOCK;
        case GLFW_KEY_NUM_LOCK: return glfw2::KEY_KP_NUM_LOCK;
        case GLFW_KEY_PAUSE: return glfw2::KEY_PAUSE;
        case GLFW_KEY_KP_DECIMAL: return glfw2::KEY_KP_DECIMAL;
        case GLFW_KEY_KP_DIVIDE: return glfw2::KEY_KP_DIVIDE;
        case GLFW_KEY_KP_MULTIPLY: return glfw2::KEY_KP_MULTIPLY;
        case GLFW_KEY_KP_SUBTRACT: return glfw2::KEY_KP_SUBTRACT;
        case GLFW_KEY_KP_ADD: return glfw2::KEY_KP_ADD;
        case GLFW_KEY_KP_ENTER: return glfw2::KEY_KP_ENTER;
        case GLFW_KEY_KP_EQUAL: return glfw2::KEY_KP_EQUAL;
        case GLFW_KEY_LEFT_SHIFT: return glfw2::KEY_LSHIFT;
        case GLFW_KEY_LEFT_CONTROL: return glfw2::KEY_LCTRL;
        case GLFW_KEY_LEFT_ALT: return glfw2::KEY_LALT;
        case GLFW_KEY_LEFT_SUPER: return glfw2::KEY_LSUPER;
        case GLFW_KEY_RIGHT_SHIFT: return glfw2::KEY_RSHIFT;
        case GLFW_KEY_RIGHT_CONTROL: return glfw2::KEY_RCTRL;
        case GLFW_KEY_RIGHT_ALT: return glfw2::KEY_RALT;
        case GLFW_KEY_RIGHT_SUPER: return glfw2::KEY_RSUPER;
        case GLFW_KEY_MENU: return glfw2::KEY_MENU;
        // World keys and Print Screen have no code in the old table.
        default: return 0;
    }
}

int KxGlfwGame::KeyToChar(int key) {
    switch (key) {
        case 8:   // backspace
        case 9:   // tab
        case 13:  // enter
        case 27:  // escape
            return key;
        case 33:  // page up
        case 34:  // page down
        case 35:  // end
        case 36:  // home
        case 37:  // left
        case 38:  // up
        case 39:  // right
        case 40:  // down
        case 45:  // insert
            return key + kEditingCharOffset;
        case 46:  // delete
            return kDeleteChar;
        default:
            return 0;
    }
}
