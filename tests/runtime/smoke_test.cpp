#include <gtest/gtest.h>
#include "runtime/array.h"
#include "runtime/object.h"
TEST(Smoke, Builds) {
    gc_init1();
    Array<String> parts = String("a,,b,").Split(String(","));
    EXPECT_EQ(parts.Length(), 4);
    Object* o = new Object;
    EXPECT_TRUE(gc_is_live_object(o));
}
