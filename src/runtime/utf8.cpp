#include "runtime/utf8.h"

void AppendUtf8(std::string& out, const String& text) {
    for (int i = 0; i < text.Length(); ++i) {
        unsigned c = static_cast<unsigned>(text[i]);
        if (c < 128) {
            out.push_back(static_cast<char>(c));
        } else if (c < 2048) {
            out.push_back(static_cast<char>(0xC0 | c >> 6));
            out.push_back(static_cast<char>(0x80 | (c & 63)));
        } else {
            out.push_back(static_cast<char>(0xE0 | c >> 12));
            out.push_back(static_cast<char>(0x80 | ((c >> 6) & 63)));
            out.push_back(static_cast<char>(0x80 | (c & 63)));
        }
    }
}
