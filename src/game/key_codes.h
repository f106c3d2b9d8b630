// Framework key codes (the Windows virtual-key numbers the host translates keys to) of the keys
// the game reads by name. A letter key's code is its capital letter ('W'), so it needs no name.
#pragma once

const int kKeyBackspace = 8;
const int kKeyEnter = 13;
const int kKeyShift = 16;
const int kKeyCtrl = 17;
const int kKeyEscape = 27;
const int kKeySpace = 32;
const int kKeyLeft = 37;
const int kKeyUp = 38;
const int kKeyRight = 39;
const int kKeyDown = 40;
const int kKeyDelete = 46;
const int kKeyF1 = 112;
const int kKeyF4 = 115;
const int kKeyF11 = 122;
const int kKeyTilde = 192;
