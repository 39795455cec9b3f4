// A steady frame allocates nothing: the program's whole frame (clear, camera, box, present) on
// the stand-in device, with every operator new in this process counted.
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>

#include "program/program_fixture.h"
#include "program/window_fixture.h"

namespace {

std::atomic<long> g_allocations{0};

void* CountedAllocation(std::size_t size) {
    g_allocations.fetch_add(1, std::memory_order_relaxed);
    if (void* memory = std::malloc(size == 0 ? 1 : size)) {
        return memory;
    }
    throw std::bad_alloc();
}

}  // namespace

void* operator new(std::size_t size) {
    return CountedAllocation(size);
}
void* operator new[](std::size_t size) {
    return CountedAllocation(size);
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    try {
        return CountedAllocation(size);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}
void operator delete(void* memory) noexcept {
    std::free(memory);
}
void operator delete[](void* memory) noexcept {
    std::free(memory);
}
void operator delete(void* memory, std::size_t) noexcept {
    std::free(memory);
}
void operator delete[](void* memory, std::size_t) noexcept {
    std::free(memory);
}

namespace {

LRESULT CALLBACK PlainWindowProcedure(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcA(hWnd, msg, wParam, lParam);
}

class SteadyFrame : public ::testing::Test, public WithAWindow {};

TEST_F(SteadyFrame, AllocatesNothingAfterTheFirstFrame) {
    ostrel::Config config;
    config.present = ostrel::PresentMode::Immediate;  // no waiting for refreshes
    CreateTestWindow(PlainWindowProcedure, config);

    const long beforeStartUp = g_allocations.load();
    auto* app = new TestApplication();
    ASSERT_TRUE(app->Initialise(window, 800, 600));
    ASSERT_GT(g_allocations.load(), beforeStartUp) << "the counting operator new is not in use";
    app->RenderFrame();  // the first frame may size what later frames reuse

    const long before = g_allocations.load();
    for (int frame = 0; frame < 200; ++frame) {
        app->RenderFrame();
    }
    const long during = g_allocations.load() - before;

    EXPECT_EQ(app->m_frameCount, 201u);
    EXPECT_EQ(during, 0) << "allocations over 200 steady frames";
    delete app;
    DestroyWindow(window);
}

}  // namespace
