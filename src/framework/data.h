// Asset names to paths inside the data folder.
#pragma once

#include "runtime/string.h"

// A path with a scheme or drive prefix ("travik://...", "C:/...") or starting with "./" or "/"
// comes back unchanged; any other name gets the prefix "travik://data/".
String kx_data_FixDataPath(const String& path);
