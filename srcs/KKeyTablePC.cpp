// The key table: each engine key code and the Windows virtual-key code it stands for.
#include "KInput.h"

KeyStroke KeyboardLayout[94] = {
    {K_VK_LEFT, 37},       {K_VK_UP, 38},        {K_VK_DOWN, 40},       {K_VK_RIGHT, 39},
    {K_VK_SPACE, 32},      {K_VK_L_SHIFT, 160},  {K_VK_R_SHIFT, 161},   {K_VK_RETURN, 13},
    {K_VK_R_CONTROL, 163}, {K_VK_L_CONTROL, 162},
    // function keys: 112..123
    {K_VK_F1, 112}, {K_VK_F2, 113}, {K_VK_F3, 114}, {K_VK_F4, 115},  {K_VK_F5, 116},  {K_VK_F6, 117},
    {K_VK_F7, 118}, {K_VK_F8, 119}, {K_VK_F9, 120}, {K_VK_F10, 121}, {K_VK_F11, 122}, {K_VK_F12, 123},
    {K_VK_BACK, 8}, {K_VK_TAB, 9}, {K_VK_ESCAPE, 27},
    // letters: the capitals' codes
    {K_VK_A, 'A'}, {K_VK_B, 'B'}, {K_VK_C, 'C'}, {K_VK_D, 'D'}, {K_VK_E, 'E'}, {K_VK_F, 'F'},
    {K_VK_G, 'G'}, {K_VK_H, 'H'}, {K_VK_I, 'I'}, {K_VK_J, 'J'}, {K_VK_K, 'K'}, {K_VK_L, 'L'},
    {K_VK_M, 'M'}, {K_VK_N, 'N'}, {K_VK_O, 'O'}, {K_VK_P, 'P'}, {K_VK_Q, 'Q'}, {K_VK_R, 'R'},
    {K_VK_S, 'S'}, {K_VK_T, 'T'}, {K_VK_U, 'U'}, {K_VK_V, 'V'}, {K_VK_W, 'W'}, {K_VK_X, 'X'},
    {K_VK_Y, 'Y'}, {K_VK_Z, 'Z'},
    // digits: the digits' codes
    {K_VK_0, '0'}, {K_VK_1, '1'}, {K_VK_2, '2'}, {K_VK_3, '3'}, {K_VK_4, '4'},
    {K_VK_5, '5'}, {K_VK_6, '6'}, {K_VK_7, '7'}, {K_VK_8, '8'}, {K_VK_9, '9'},
    // keypad digits: 96..105
    {K_VK_NUM0, 96},  {K_VK_NUM1, 97},  {K_VK_NUM2, 98},  {K_VK_NUM3, 99},  {K_VK_NUM4, 100},
    {K_VK_NUM5, 101}, {K_VK_NUM6, 102}, {K_VK_NUM7, 103}, {K_VK_NUM8, 104}, {K_VK_NUM9, 105},
    {K_VK_MULTIPLY, 106}, {K_VK_ADD, 107}, {K_VK_SUBTRACT, 109}, {K_VK_DECIMAL, 110},
    {K_VK_DIVIDE, 111},   {K_VK_CLEAR, 12}, {K_VK_MENU, 18},     {K_VK_LWIN, 91},
    {K_VK_RWIN, 92},      {K_VK_NUMLOCK, 144}, {K_VK_SCROLL, 145},
    // punctuation (US layout positions)
    {K_VK_OEM_1, 186}, {K_VK_OEM_PLUS, 187}, {K_VK_OEM_COMMA, 188}, {K_VK_OEM_MINUS, 189},
    {K_VK_OEM_PERIOD, 190}, {K_VK_OEM_2, 191}, {K_VK_OEM_3, 192}, {K_VK_OEM_4, 219},
    {K_VK_OEM_5, 220}, {K_VK_OEM_6, 221}, {K_VK_OEM_7, 222},
    {K_VK_ERROR, 9999}, // no real key: ends every search
};
