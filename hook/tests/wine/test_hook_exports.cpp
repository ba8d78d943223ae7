// The library's exports, loaded from the dist folder as the program loads it, with the shared record
// observed through a view of the section opened by name. Each test runs in a process of its own, so
// each gets a fresh load of the library.
#include "hook_shared.h"
#include "vellum_library.h"
#include "winkit.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

bool SectionExists() {
    HANDLE mapping = OpenFileMappingA(FILE_MAP_READ, FALSE, VELLUM_HOOK_MAPPING_NAME);
    if (!mapping) return false;
    CloseHandle(mapping);
    return true;
}

std::uint32_t HandleValue(HWND window) {
    return static_cast<std::uint32_t>(reinterpret_cast<UINT_PTR>(window));
}

} // namespace

TEST(SharedSection, IsCreatedAtLoadAsTwentyThreeZeroBytes) {
    ASSERT_FALSE(SectionExists()) << "another process still holds the section; restart the bench";
    Library library;
    ASSERT_TRUE(library.Complete());
    SectionView view;
    ASSERT_NE(view.get(), nullptr);
    const unsigned char zeros[23] = {};
    EXPECT_EQ(std::memcmp(view.get(), zeros, sizeof zeros), 0);
    MEMORY_BASIC_INFORMATION info{};
    VirtualQuery(view.get(), &info, sizeof info);
    EXPECT_GE(info.RegionSize, 23u);
}

TEST(InstallHook, WritesTheRecordAndInstallsOncePerLoad) {
    Library library;
    ASSERT_TRUE(library.Complete());
    SectionView view;
    ASSERT_NE(view.get(), nullptr);
    HWND first = MessageWindow();
    HWND second = MessageWindow();

    // Switches set before the installation are overwritten by it.
    library.SetGrid(-1, 16);
    library.UseRightButton(0);
    ASSERT_EQ(view->GridOn, 1);
    ASSERT_EQ(view->RightButtonOn, 0);

    EXPECT_EQ(library.InstallHook(first), 1);
    EXPECT_EQ(view->NotifyWnd, HandleValue(first));
    EXPECT_EQ(view->GridOn, 0);
    EXPECT_EQ(view->RightButtonOn, 1);
    EXPECT_NE(view->HookHandle, 0u);
    EXPECT_EQ(view->GridWidth, 16) << "the pitch is not touched by the installation";
    EXPECT_EQ(view->Reserved4, 0u);
    EXPECT_EQ(view->Reserved12, 0u);

    const std::uint32_t hook = view->HookHandle;
    EXPECT_EQ(library.InstallHook(second), 0);
    EXPECT_EQ(view->NotifyWnd, HandleValue(first)) << "notifications keep going to the first window";
    EXPECT_EQ(view->HookHandle, hook);

    EXPECT_EQ(library.UninstallHook(), 1);
    EXPECT_EQ(view->HookHandle, hook) << "nothing is reset by the removal";
    EXPECT_EQ(library.InstallHook(second), 0) << "the hook is installed once per load of the library";
    EXPECT_EQ(view->NotifyWnd, HandleValue(first));
}

TEST(UninstallHook, BeforeAnyInstallationDoesNothing) {
    Library library;
    ASSERT_TRUE(library.Complete());
    SectionView view;
    ASSERT_NE(view.get(), nullptr);
    EXPECT_EQ(library.UninstallHook(), 1);
    const unsigned char zeros[23] = {};
    EXPECT_EQ(std::memcmp(view.get(), zeros, sizeof zeros), 0);
}

TEST(SetGrid, StoresThePitchUncheckedAndEndsAnyDrag) {
    Library library;
    ASSERT_TRUE(library.Complete());
    SectionView view;
    ASSERT_NE(view.get(), nullptr);
    view->Dragging = 1;
    EXPECT_EQ(library.SetGrid(0, 0), 1);
    EXPECT_EQ(view->GridWidth, 0);
    EXPECT_EQ(view->GridOn, 0);
    EXPECT_EQ(view->Dragging, 0);

    view->Dragging = 1;
    EXPECT_EQ(library.SetGrid(7, -32), 1);
    EXPECT_EQ(view->GridWidth, -32);
    EXPECT_EQ(view->GridOn, 1) << "any nonzero argument is true and stored as 1";
    EXPECT_EQ(view->Dragging, 0);

    EXPECT_EQ(library.SetGrid(-1, 32), 1);
    EXPECT_EQ(view->GridWidth, 32);
}

TEST(UseRightButton, StoresAndReturnsOneOrZero) {
    Library library;
    ASSERT_TRUE(library.Complete());
    SectionView view;
    ASSERT_NE(view.get(), nullptr);
    EXPECT_EQ(library.UseRightButton(2), 1);
    EXPECT_EQ(view->RightButtonOn, 1);
    EXPECT_EQ(library.UseRightButton(0), 0);
    EXPECT_EQ(view->RightButtonOn, 0);
    EXPECT_EQ(library.UseRightButton(-1), 1);
    EXPECT_EQ(view->RightButtonOn, 1);
}

TEST(SquattedName, LeavesTheLibraryInertAndItsExportsReportFailure) {
    // An object of another type holding the name: the library gets no view.
    HANDLE squatter = CreateEventA(nullptr, TRUE, FALSE, VELLUM_HOOK_MAPPING_NAME);
    ASSERT_NE(squatter, nullptr);
    Library library;
    ASSERT_TRUE(library.Complete()) << "the load itself must not fail";
    HWND receiver = MessageWindow();
    EXPECT_EQ(library.InstallHook(receiver), 0);
    EXPECT_EQ(library.SetGrid(-1, 32), 0);
    EXPECT_EQ(library.UseRightButton(-1), 0);
    EXPECT_EQ(library.UninstallHook(), 0);
    EXPECT_TRUE(FreeLibrary(library.module)) << "detach with no view closes nothing it does not hold";
    CloseHandle(squatter);
}
