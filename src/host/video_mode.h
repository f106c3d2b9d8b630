#pragma once

#include "runtime/object.h"

// One display mode as GLFW reports it.
class KxGlfwVideoMode : public Object {
public:
    KxGlfwVideoMode() {}
    int Width = 0;
    int Height = 0;
    int RedBits = 0;
    int GreenBits = 0;
    int BlueBits = 0;
};
