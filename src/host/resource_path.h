// The runtime's "travik://" resource paths as paths relative to the current directory.
#pragma once

#include "runtime/string.h"

// "travik://data/", "travik://internal/" and "travik://external/" become "./data/",
// "./internal/" and "./external/"; any other "travik:" path becomes the empty string (it
// cannot be opened); anything else comes back unchanged.
String MapResourcePath(const String& path);
