// Resource paths become paths relative to the current directory.
#include "host/resource_path.h"

#include "host/files/fixtures.h"

using namespace fixtures;

namespace {

struct PathCase {
    std::u16string path;
    std::u16string expected;
};

}  // namespace

TEST(MapResourcePath, MapsTheThreeRootsAndNothingElse) {
    const PathCase cases[] = {
        {u"travik://data/gfx/a.png", u"./data/gfx/a.png"},
        {u"travik://internal/save.txt", u"./internal/save.txt"},
        {u"travik://external/x/y/z", u"./external/x/y/z"},
        {u"travik://data/", u"./data/"},
        {u"travik://data/\u00e9\u20ac.wav", u"./data/\u00e9\u20ac.wav"},
        // Only the start counts: a second scheme inside the rest is kept as it is.
        {u"travik://data/travik://cache/x", u"./data/travik://cache/x"},
        // Unknown "travik:" paths cannot be opened.
        {u"travik://cache/x", u""},
        {u"travik://data", u""},
        {u"travik://Data/x", u""},
        {u"travik:data/x", u""},
        {u"travik:", u""},
        // Anything else is a plain path, including other spellings of the scheme.
        {u"data/x", u"data/x"},
        {u"TRAVIK://data/x", u"TRAVIK://data/x"},
        {u"Travik://data/x", u"Travik://data/x"},
        {u"./travik://data/x", u"./travik://data/x"},
        {u"travik", u"travik"},
        {u"", u""},
    };
    for (const PathCase& c : cases) {
        String mapped = MapResourcePath(Text(c.path));
        EXPECT_EQ(Units(mapped), c.expected)
            << "'" << Utf8(Text(c.path)) << "' gave '" << Utf8(mapped) << "'";
    }
}
