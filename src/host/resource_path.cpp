#include "host/resource_path.h"

String MapResourcePath(const String& path) {
    static const char* const roots[][2] = {
        {"travik://data/", "./data/"},
        {"travik://internal/", "./internal/"},
        {"travik://external/", "./external/"},
    };
    if (path.Find(String("travik:")) != 0) return path;
    for (const auto& root : roots) {
        String scheme(root[0]);
        if (path.Find(scheme) == 0) return String(root[1]) + path.Slice(scheme.Length());
    }
    return String();
}
