// Checks and readers shared by the tests of the play field, the particles, the game-over
// overlay and the menus: ranges and float lists with readable failures, the draw list as
// commands, the text it draws and the saved-state file.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "game/my_app.h"

typedef std::vector<float> Floats;

inline testing::AssertionResult Within(float v, float lo, float hi) {
    if (v >= lo && v <= hi) return testing::AssertionSuccess();
    return testing::AssertionFailure() << v << " is not within " << lo << " .. " << hi;
}

// Equal to within a thousandth, element by element.
inline testing::AssertionResult Same(const Floats& got, const Floats& want) {
    bool same = got.size() == want.size();
    for (size_t i = 0; same && i < got.size(); ++i) same = std::fabs(got[i] - want[i]) < 1e-3f;
    if (same) return testing::AssertionSuccess();
    testing::AssertionResult failure = testing::AssertionFailure() << "got";
    for (float v : got) failure << " " << v;
    failure << "; want";
    for (float v : want) failure << " " << v;
    return failure;
}

// The commands of the draw list, in order.
inline std::vector<const float*> DrawCommands(const c_MyApp* app) {
    std::vector<const float*> commands;
    for (int i = 0; i < app->m_drawCount; i += kx_Sprocklet_CommandFloats) {
        commands.push_back(app->m_drawList.Data() + i);
    }
    return commands;
}

// The characters drawn with the font in image slot `font`, in order; blanks draw nothing.
inline std::string DrawnText(const c_MyApp* app, int font) {
    std::string text;
    for (const float* c : DrawCommands(app)) {
        if (c[0] == font) text += static_cast<char>(c[6] + 32);
    }
    return text;
}

inline std::string SavedState() {
    std::ifstream in(".travikstate", std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}
