#include "framework_fixture.h"

namespace {

class CountingSource : public Object, public c_IAsyncEventSource {
public:
    int polls = 0;
    bool removeSelf = false;
    bool pollAgain = false;

    CountingSource() {}
    int UpdateAsyncEvents() override {
        ++polls;
        if (pollAgain) kx_asyncevent_UpdateAsyncEvents();
        if (removeSelf) kx_asyncevent_RemoveAsyncEventSource(this);
        return 0;
    }
};

using AsyncEventTest = FrameworkTest;

TEST_F(AsyncEventTest, SourceRemovingItselfDoesNotSkipTheNext) {
    kx_asyncevent_UpdateAsyncEvents();  // nothing registered
    EXPECT_EQ(kx_asyncevent__current, nullptr);

    CountingSource* sources[3] = {new CountingSource, new CountingSource, new CountingSource};
    sources[0]->removeSelf = true;
    sources[1]->pollAgain = true;  // a nested poll is refused, not run twice
    for (CountingSource* s : sources) kx_asyncevent_AddAsyncEventSource(s);
    kx_asyncevent_UpdateAsyncEvents();
    for (CountingSource* s : sources) EXPECT_EQ(s->polls, 1);
    EXPECT_EQ(kx_asyncevent__current, nullptr);
    ASSERT_EQ(kx_asyncevent__sources->p_Length(), 2);
    EXPECT_EQ(kx_asyncevent__sources->p_Get(0), sources[1]);
}

TEST_F(AsyncEventTest, RegisteredSourcesSurviveCollectionsUntilRemoved) {
    CountingSource* kept = new CountingSource;
    CountingSource* dropped = new CountingSource;
    kx_asyncevent_AddAsyncEventSource(kept);
    kx_asyncevent_AddAsyncEventSource(dropped);
    kx_asyncevent_RemoveAsyncEventSource(dropped);
    FullCycle();
    FullCycle();
    EXPECT_TRUE(gc_is_live_object(kept));
    EXPECT_FALSE(gc_is_live_object(dropped)) << "a vacated slot must not keep its source";
}

TEST_F(AsyncEventTest, StackGrowsByTheGrowthRule) {
    c_Stack* stack = (new c_Stack)->m_new();
    c_IAsyncEventSource* a = new CountingSource;
    stack->p_Length(1);
    EXPECT_EQ(stack->m_data.Length(), 10);  // 2 * 0 + 10
    gc_assign(stack->m_data[0], a);
    stack->p_Length(11);
    EXPECT_EQ(stack->m_data.Length(), 12);  // 2 * 1 + 10
    stack->p_Length(40);
    EXPECT_EQ(stack->m_data.Length(), 40);  // more than 2 * 11 + 10
    EXPECT_EQ(stack->p_Get(0), a);

    gc_assign(stack->m_data[5], a);
    stack->p_Length(2);  // keeps the capacity, clears what it gives up
    EXPECT_EQ(stack->m_data.Length(), 40);
    EXPECT_EQ(stack->m_data[5], nullptr);
    EXPECT_EQ(stack->p_Get(5), nullptr);
    stack->p_Length(-3);
    EXPECT_EQ(stack->p_Length(), 0);
    EXPECT_EQ(stack->m_data[0], nullptr);
}

}  // namespace
