// Simple pictograms shared by the icons, buttons, on-screen pad and badges. Each is a shape
// designed in a 16 x 16 unit box.
#pragma once

#include "assetgen/shapes.h"

enum class Symbol {
    kPause,
    kLeave,
    kHome,
    kPlay,
    kRestart,
    kSoundOn,
    kSoundOff,
    kMusic,
    kTrophy,
    kStar,
    kInfo,
    kArrowLeft,
    kArrowRight,
    kArrowUp,
    kArrowDown,
    kClose,
    kCheck,
    kMedal,
    kLightning,
    kHeart,
};

// The symbol's shape placed with its box centred on `centre`, `size` units across.
Shape SymbolShape(Symbol symbol, V2 centre, float size);
