// The RAII owners and the window helper: each releases exactly once, moves
// hand ownership over, and the window object is bound for every message.
#include <windows.h>

#include <gtest/gtest.h>

#include <type_traits>

#include "TestSupport.h"
#include "win32/Handles.h"
#include "win32/RegistryBackEnd.h"

namespace luma::win32 {
namespace {

static_assert(!std::is_copy_constructible_v<GdiObject<HBRUSH>>);
static_assert(!std::is_copy_constructible_v<WindowDc>);
static_assert(!std::is_copy_constructible_v<SelectionGuard>);
static_assert(!std::is_copy_constructible_v<Module>);

TEST(HandlesTest, GdiObjectDeletesOnceAfterMoves) {
  HBRUSH raw = CreateSolidBrush(RGB(1, 2, 3));
  ASSERT_NE(GetObjectType(raw), 0u);
  {
    GdiObject<HBRUSH> a(raw);
    GdiObject<HBRUSH> b(std::move(a));
    EXPECT_FALSE(a);
    EXPECT_EQ(b.Get(), raw);
    GdiObject<HBRUSH> c;
    c = std::move(b);
    EXPECT_FALSE(b);
    EXPECT_EQ(GetObjectType(raw), static_cast<DWORD>(OBJ_BRUSH));
  }
  EXPECT_EQ(GetObjectType(raw), 0u);
}

TEST(HandlesTest, GdiObjectAssignmentDeletesTheOldObject) {
  HBRUSH first = CreateSolidBrush(RGB(1, 2, 3));
  HBRUSH second = CreateSolidBrush(RGB(4, 5, 6));
  GdiObject<HBRUSH> owner(first);
  owner = GdiObject<HBRUSH>(second);
  EXPECT_EQ(GetObjectType(first), 0u);
  EXPECT_NE(GetObjectType(second), 0u);
  HBRUSH released = owner.Release();
  EXPECT_EQ(released, second);
  EXPECT_FALSE(owner);
  DeleteObject(released);
}

TEST(HandlesTest, SelectionGuardRestoresOnItsOwnDc) {
  MemoryDc dc(CreateCompatibleDC(nullptr));
  MemoryDc otherDc(CreateCompatibleDC(nullptr));
  ASSERT_TRUE(dc);
  HGDIOBJ before = GetCurrentObject(dc.Get(), OBJ_BRUSH);
  GdiObject<HBRUSH> brush(CreateSolidBrush(RGB(9, 9, 9)));
  {
    SelectionGuard guard(dc.Get(), brush.Get());
    EXPECT_EQ(GetCurrentObject(dc.Get(), OBJ_BRUSH), brush.Get());
    SelectionGuard moved(std::move(guard));
    SelectObject(otherDc.Get(), GetStockObject(BLACK_BRUSH));
  }
  EXPECT_EQ(GetCurrentObject(dc.Get(), OBJ_BRUSH), before);
  EXPECT_EQ(GetCurrentObject(otherDc.Get(), OBJ_BRUSH), GetStockObject(BLACK_BRUSH));
}

TEST(HandlesTest, WindowDcMovesItsDcAlong) {
  test::RecordingWindow window;
  WindowDc a(window.Handle());
  ASSERT_TRUE(a);
  HDC raw = a.Get();
  WindowDc b(std::move(a));
  EXPECT_FALSE(a);
  EXPECT_EQ(b.Get(), raw);
  WindowDc screen(nullptr);
  EXPECT_TRUE(screen);
  screen = std::move(b);
  EXPECT_EQ(screen.Get(), raw);
}

TEST(HandlesTest, ModuleIsFreedWithItsOwner) {
  if (GetModuleHandleW(L"cabinet.dll")) GTEST_SKIP() << "cabinet.dll is already loaded";
  {
    Module module(LoadLibraryW(L"cabinet.dll"));
    ASSERT_TRUE(module);
    Module moved(std::move(module));
    EXPECT_NE(GetModuleHandleW(L"cabinet.dll"), nullptr);
  }
  EXPECT_EQ(GetModuleHandleW(L"cabinet.dll"), nullptr);
}

// A failed CreateFile gives INVALID_HANDLE_VALUE: an owner of it owns nothing.
TEST(HandlesTest, FileOwnsNothingAfterAFailedOpenAndClosesOnce) {
  EXPECT_FALSE(File());
  File missing(CreateFileW(L"C:\\no such folder\\no such file", GENERIC_READ, 0, nullptr,
                           OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  EXPECT_FALSE(missing);
  EXPECT_EQ(missing.Get(), INVALID_HANDLE_VALUE);

  wchar_t folder[MAX_PATH], path[MAX_PATH];
  ASSERT_NE(GetTempPathW(MAX_PATH, folder), 0u);
  ASSERT_NE(GetTempFileNameW(folder, L"lum", 0, path), 0u);
  HANDLE raw = CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                           FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
  {
    File file(raw);
    ASSERT_TRUE(file);
    File moved(std::move(file));
    EXPECT_FALSE(file);
    EXPECT_EQ(file.Get(), INVALID_HANDLE_VALUE);
    DWORD flags = 0;
    EXPECT_TRUE(GetHandleInformation(moved.Get(), &flags));
  }
  // Closed with its owner: delete-on-close has removed the file.
  EXPECT_EQ(GetFileAttributesW(path), INVALID_FILE_ATTRIBUTES);
}

TEST(HandlesTest, RegistryKeyIsClosedWithItsOwner) {
  HKEY raw = nullptr;
  ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, L"Software", 0, KEY_READ, &raw), ERROR_SUCCESS);
  {
    RegistryKeyHandle key(raw);
    ASSERT_TRUE(key);
    RegistryKeyHandle moved(std::move(key));
    EXPECT_FALSE(key);
    DWORD subkeys = 0;
    EXPECT_EQ(RegQueryInfoKeyW(moved.Get(), nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr,
                               nullptr, nullptr, nullptr, nullptr, nullptr),
              ERROR_SUCCESS);
  }
  DWORD subkeys = 0;
  EXPECT_NE(RegQueryInfoKeyW(raw, nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, nullptr,
                             nullptr, nullptr, nullptr, nullptr),
            ERROR_SUCCESS);
}

TEST(HandlesTest, PaintDcValidatesTheAreaItPaints) {
  test::RecordingWindow window;
  ShowWindow(window.Handle(), SW_SHOWNOACTIVATE);
  const RECT dirty{10, 20, 30, 40};
  ValidateRect(window.Handle(), nullptr);
  InvalidateRect(window.Handle(), &dirty, FALSE);
  {
    PaintDc paint(window.Handle());
    EXPECT_NE(paint.Get(), nullptr);
    EXPECT_TRUE(EqualRect(&paint.Area(), &dirty));
  }
  EXPECT_FALSE(GetUpdateRect(window.Handle(), nullptr, FALSE));
}

TEST(BaseWindowTest, BindsAtCreationAndUnbindsAtDestruction) {
  test::RecordingWindow window;
  ASSERT_NE(window.Handle(), nullptr);
  EXPECT_TRUE(window.sawNcCreate);
  EXPECT_EQ(GetWindowLongPtrW(window.Handle(), GWLP_USERDATA), reinterpret_cast<LONG_PTR>(&window));
  HWND hwnd = window.Handle();
  DestroyWindow(hwnd);
  EXPECT_TRUE(window.sawNcDestroy);
  EXPECT_EQ(window.Handle(), nullptr);
  EXPECT_FALSE(IsWindow(hwnd));
}

TEST(BaseWindowTest, UnhandledMessagesGetTheDefaultAnswer) {
  test::RecordingWindow window(L"Caption text");
  wchar_t text[32] = {};
  // WM_GETTEXT is left to DefWindowProc, which knows the caption.
  SendMessageW(window.Handle(), WM_GETTEXT, 32, reinterpret_cast<LPARAM>(text));
  EXPECT_STREQ(text, L"Caption text");
  SendMessageW(window.Handle(), WM_TIMER, 42, 0);
  ASSERT_EQ(window.timers.size(), 1u);
  EXPECT_EQ(window.timers[0], 42u);
}

}  // namespace
}  // namespace luma::win32
