#include "framework/data.h"

String kx_data_FixDataPath(const String& path) {
    int schemeEnd = path.Find(String(":/"));
    if (schemeEnd != -1 && path.Find(String("/")) == schemeEnd + 1) return path;
    if (path.Find(String("./")) == 0 || path.Find(String("/")) == 0) return path;
    return String("travik://data/") + path;
}
