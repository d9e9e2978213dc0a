// No exception crosses the window procedure or a creation step: the message
// gets the default processing, the window and the program go on, and what
// happened is noted in a readable line.
#include <windows.h>

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "TestSupport.h"
#include "win32/ExceptionBoundary.h"
#include "win32/Window.h"

namespace luma::win32 {
namespace {

constexpr UINT kThrowRuntimeError = WM_APP + 1;
constexpr UINT kThrowInt = WM_APP + 2;
constexpr UINT kAnswer = WM_APP + 3;

// A window whose handler throws on the messages it is told to.
class ThrowingWindow : public BaseWindow<ThrowingWindow> {
 public:
  explicit ThrowingWindow(UINT throwOn = 0) : throwOn_(throwOn) {
    RegisterWindowClass(L"LumatypeThrowingWindow");
    CreateWindowHandle(0, L"LumatypeThrowingWindow", L"throws", WS_OVERLAPPEDWINDOW, 10, 10, 200,
                       100);
  }
  ~ThrowingWindow() {
    if (Handle()) DestroyWindow(Handle());
  }

  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == throwOn_ || message == kThrowRuntimeError)
      throw std::runtime_error("handler failed");
    if (message == kThrowInt) throw 7;
    if (message == kAnswer) return 42;
    return DefaultProc(message, wParam, lParam);
  }

 private:
  UINT throwOn_;
};

TEST(ExceptionBoundaryTest, AThrowingHandlerReturnsAndTheWindowAnswersOn) {
  ThrowingWindow window;
  ASSERT_TRUE(window.Handle());
  for (UINT message : {kThrowRuntimeError, kThrowInt}) {
    SCOPED_TRACE(message);
    EXPECT_EQ(SendMessageW(window.Handle(), message, 0, 0), 0);
    EXPECT_TRUE(IsWindow(window.Handle()));
    EXPECT_EQ(SendMessageW(window.Handle(), kAnswer, 0, 0), 42);
  }
}

TEST(ExceptionBoundaryTest, CreationGoesOnWhenItsMessagesThrow) {
  for (UINT message : {UINT{WM_NCCREATE}, UINT{WM_CREATE}}) {
    SCOPED_TRACE(message);
    ThrowingWindow window(message);
    ASSERT_TRUE(window.Handle());
    EXPECT_EQ(SendMessageW(window.Handle(), kAnswer, 0, 0), 42);
  }
}

TEST(ExceptionBoundaryTest, AThrowingPaintIsStillValidated) {
  ThrowingWindow window(WM_PAINT);
  ShowWindow(window.Handle(), SW_SHOWNOACTIVATE);
  InvalidateRect(window.Handle(), nullptr, FALSE);
  UpdateWindow(window.Handle());
  // Left invalid, the window would get WM_PAINT for ever.
  EXPECT_FALSE(GetUpdateRect(window.Handle(), nullptr, FALSE));
}

TEST(ExceptionBoundaryTest, AThrowingLastMessageStillUnbindsTheWindow) {
  ThrowingWindow window(WM_NCDESTROY);
  HWND handle = window.Handle();
  DestroyWindow(handle);
  EXPECT_FALSE(IsWindow(handle));
  EXPECT_EQ(window.Handle(), nullptr);
}

std::wstring Describe(const std::exception_ptr& error, std::size_t size = 512) {
  std::wstring text(size, L'#');
  try {
    std::rethrow_exception(error);
  } catch (...) {
    DescribeCaughtException(L"layout", text.data(), size);
  }
  return text.c_str();
}

TEST(ExceptionBoundaryTest, DescriptionNamesWhatAndWhere) {
  EXPECT_EQ(Describe(std::make_exception_ptr(std::runtime_error("caf\xC3\xA9 not found"))),
            L"Lumatype: caf\u00E9 not found (layout)");
  EXPECT_EQ(Describe(std::make_exception_ptr(7)), L"Lumatype: unknown exception (layout)");
  EXPECT_EQ(Describe(std::make_exception_ptr(std::runtime_error("long")), 12), L"Lumatype: l");
}

TEST(ExceptionBoundaryTest, GuardedEndsOnlyTheFailingStep) {
  int ran = 0;
  ExceptionBoundary boundary;
  EXPECT_TRUE(boundary.Guarded(L"first", [&] { ++ran; }));
  EXPECT_FALSE(boundary.Guarded(L"second", [&] {
    ++ran;
    throw std::bad_alloc();
  }));
  EXPECT_TRUE(boundary.Guarded(L"third", [&] { ++ran; }));
  EXPECT_EQ(ran, 3);
}

// A report runs a message box, whose loop may run a handler that fails
// again: that one is only noted, so boxes never stack up.
TEST(ExceptionBoundaryTest, CaughtExceptionsAreReportedOneAtATimeWhileAReporterIsSet) {
  ExceptionBoundary boundary;
  struct NestingReporter : ErrorReporter {
    ExceptionBoundary* boundary = nullptr;
    std::vector<std::string> messages;
    void Report(const std::string& message) override {
      messages.push_back(message);
      boundary->Guarded(L"inner", [] { throw std::runtime_error("inner"); });
    }
  } reporter;
  reporter.boundary = &boundary;
  boundary.SetReporter(&reporter);
  boundary.Guarded(L"outer", [] { throw std::runtime_error("outer failed"); });
  boundary.Guarded(L"int", [] { throw 7; });
  boundary.SetReporter(nullptr);
  boundary.Guarded(L"after", [] { throw std::runtime_error("unreported"); });
  EXPECT_EQ(reporter.messages, (std::vector<std::string>{"outer failed", "Unknown error"}));
}

}  // namespace
}  // namespace luma::win32
