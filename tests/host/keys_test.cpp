#include <gtest/gtest.h>

#include <map>

#define GLFW_INCLUDE_NONE
#include <GLFW/glfw3.h>

#include "host/glfw_game.h"

namespace {

// The old (GLFW 2.7) key codes and the framework codes they stand for, written out row by row.
std::map<int, int> ExpectedTransKey() {
    std::map<int, int> rows = {
        {32, 32},   {34, 222},  {39, 222},  {44, 188},  {45, 189},  {46, 190},  {47, 191},
        {59, 186},  {61, 187},  {91, 219},  {92, 220},  {93, 221},  {96, 192},  {126, 192},
        {257, 27},  {283, 38},  {284, 40},  {285, 37},  {286, 39},  {287, 16},  {288, 16},
        {289, 17},  {290, 17},  {293, 9},   {294, 13},  {295, 8},   {296, 45},  {297, 46},
        {298, 33},  {299, 34},  {300, 36},  {301, 35},  {312, 111}, {313, 106}, {314, 109},
        {315, 107}, {316, 110},
    };
    for (int c = '0'; c <= '9'; ++c) rows[c] = c;
    for (int c = 'A'; c <= 'Z'; ++c) rows[c] = c;
    for (int f = 0; f < 12; ++f) rows[258 + f] = 112 + f;  // F1-F12
    for (int k = 0; k < 10; ++k) rows[302 + k] = 96 + k;   // keypad digits
    return rows;
}

// Alt keys, F13-F25, keypad equal and enter, the lock, pause, super and menu keys are absent
// from the table: they must come out as 0.
TEST(KeysTest, TransKeyMapsEveryRowOfTheTableAndNothingElse) {
    std::map<int, int> rows = ExpectedTransKey();
    for (int key = -1; key <= 400; ++key) {
        auto row = rows.find(key);
        int expected = row == rows.end() ? 0 : row->second;
        EXPECT_EQ(KxGlfwGame::TransKey(key), expected) << "old key code " << key;
    }
}

TEST(KeysTest, EveryGlfw3KeyHasItsOldCode) {
    std::map<int, int> rows = {
        {GLFW_KEY_ESCAPE, 257},        {GLFW_KEY_ENTER, 294},       {GLFW_KEY_TAB, 293},
        {GLFW_KEY_BACKSPACE, 295},     {GLFW_KEY_INSERT, 296},      {GLFW_KEY_DELETE, 297},
        {GLFW_KEY_RIGHT, 286},         {GLFW_KEY_LEFT, 285},        {GLFW_KEY_DOWN, 284},
        {GLFW_KEY_UP, 283},            {GLFW_KEY_PAGE_UP, 298},     {GLFW_KEY_PAGE_DOWN, 299},
        {GLFW_KEY_HOME, 300},          {GLFW_KEY_END, 301},         {GLFW_KEY_CAPS_LOCK, 320},
        {GLFW_KEY_SCROLL_LOCK, 321},   {GLFW_KEY_NUM_LOCK, 319},    {GLFW_KEY_PAUSE, 322},
        {GLFW_KEY_KP_DECIMAL, 316},    {GLFW_KEY_KP_DIVIDE, 312},   {GLFW_KEY_KP_MULTIPLY, 313},
        {GLFW_KEY_KP_SUBTRACT, 314},   {GLFW_KEY_KP_ADD, 315},      {GLFW_KEY_KP_ENTER, 318},
        {GLFW_KEY_KP_EQUAL, 317},      {GLFW_KEY_LEFT_SHIFT, 287},  {GLFW_KEY_LEFT_CONTROL, 289},
        {GLFW_KEY_LEFT_ALT, 291},      {GLFW_KEY_LEFT_SUPER, 323},  {GLFW_KEY_RIGHT_SHIFT, 288},
        {GLFW_KEY_RIGHT_CONTROL, 290}, {GLFW_KEY_RIGHT_ALT, 292},   {GLFW_KEY_RIGHT_SUPER, 324},
        {GLFW_KEY_MENU, 325},
    };
    for (int key : {GLFW_KEY_SPACE, GLFW_KEY_APOSTROPHE, GLFW_KEY_COMMA, GLFW_KEY_MINUS,
                    GLFW_KEY_PERIOD, GLFW_KEY_SLASH, GLFW_KEY_SEMICOLON, GLFW_KEY_EQUAL,
                    GLFW_KEY_LEFT_BRACKET, GLFW_KEY_BACKSLASH, GLFW_KEY_RIGHT_BRACKET,
                    GLFW_KEY_GRAVE_ACCENT}) {
        rows[key] = key;
    }
    for (int k = 0; k < 10; ++k) rows[GLFW_KEY_0 + k] = '0' + k;
    for (int k = 0; k < 26; ++k) rows[GLFW_KEY_A + k] = 'A' + k;
    for (int f = 0; f < 25; ++f) rows[GLFW_KEY_F1 + f] = 258 + f;
    for (int k = 0; k < 10; ++k) rows[GLFW_KEY_KP_0 + k] = 302 + k;

    // World keys, Print Screen, unknown keys and the gaps between codes have no old code.
    for (int key = -1; key <= 400; ++key) {
        auto row = rows.find(key);
        int expected = row == rows.end() ? 0 : row->second;
        EXPECT_EQ(KxGlfwGame::Glfw3KeyToGlfw2(key), expected) << "GLFW 3 key " << key;
    }
}

TEST(KeysTest, EditingKeysAlsoGiveACharacter) {
    std::map<int, int> chars = {{8, 8},         {9, 9},         {13, 13},       {27, 27},
                                {33, 0x10021},  {34, 0x10022},  {35, 0x10023},  {36, 0x10024},
                                {37, 0x10025},  {38, 0x10026},  {39, 0x10027},  {40, 0x10028},
                                {45, 0x1002D},  {46, 127}};
    for (int key = -1; key < 512; ++key) {
        auto row = chars.find(key);
        int expected = row == chars.end() ? 0 : row->second;
        EXPECT_EQ(KxGlfwGame::KeyToChar(key), expected) << "framework key " << key;
    }
}

}  // namespace
