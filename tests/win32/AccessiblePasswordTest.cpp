// What accessibility says about a focused field, asked on a thread of its
// own: fields that only their accessible object marks as a password, a
// keyboard closed while the other program has not answered yet, and the
// focus moves that make it ask again.
#include <windows.h>

#include <gtest/gtest.h>
#include <oleacc.h>

#include <optional>
#include <utility>
#include <vector>

#include "FakeAccessible.h"
#include "TestSupport.h"
#include "win32/AccessiblePassword.h"
#include "win32/FocusWatch.h"
#include "win32/Window.h"

namespace luma::win32 {
namespace {

using test::PumpUntil;

// A window of a program that draws its own field, with that field's
// accessible object when it has one; it also receives the answers.
class FieldWindow : public BaseWindow<FieldWindow> {
 public:
  explicit FieldWindow(std::optional<LONG> accessibleState = std::nullopt)
      : accessibleState_(accessibleState) {
    RegisterWindowClass(L"LumatypeAccessibleField");
    CreateWindowHandle(0, L"LumatypeAccessibleField", L"Lumatype field", WS_OVERLAPPEDWINDOW, 100,
                       100, 300, 200);
  }
  ~FieldWindow() {
    if (Handle()) DestroyWindow(Handle());
  }

  static constexpr UINT kAnswer = WM_APP + 40;
  std::vector<std::pair<WPARAM, LPARAM>> answers;

  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kAnswer) {
      answers.emplace_back(wParam, lParam);
      return 0;
    }
    if (message == WM_GETOBJECT && static_cast<LONG>(lParam) == OBJID_CLIENT && accessibleState_) {
      auto* object = new test::FakeAccessible(*accessibleState_);
      const LRESULT result = LresultFromObject(__uuidof(IAccessible), wParam, object);
      object->Release();
      return result;
    }
    return DefaultProc(message, wParam, lParam);
  }

 private:
  std::optional<LONG> accessibleState_;
};

// The other program's accessible objects live in this thread's apartment.
class AccessiblePasswordTest : public ::testing::Test {
 protected:
  void SetUp() override {
    comReady_ = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
  }
  void TearDown() override {
    if (comReady_) CoUninitialize();
  }
  bool comReady_ = false;
};

TEST_F(AccessiblePasswordTest, AFieldIsAPasswordWhereItsAccessibleObjectSaysSo) {
  const struct {
    const char* name;
    std::optional<LONG> accessibleState;  // none: no accessible object of its own
    const wchar_t* editClass;             // an edit control asked instead
    DWORD editStyle;
    bool password;
  } rows[] = {
      {"a drawn field marked protected", STATE_SYSTEM_PROTECTED | STATE_SYSTEM_FOCUSED, nullptr, 0,
       true},
      {"a drawn field that is not", STATE_SYSTEM_FOCUSABLE | STATE_SYSTEM_FOCUSED, nullptr, 0,
       false},
      {"a window without an accessible object of its own", std::nullopt, nullptr, 0, false},
      {"an edit with the password style", std::nullopt, L"Edit", ES_PASSWORD, true},
      {"a plain edit", std::nullopt, L"Edit", ES_AUTOHSCROLL, false},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.name);
    FieldWindow window(r.accessibleState);
    HWND asked = window.Handle();
    if (r.editClass) {
      asked = CreateWindowExW(0, r.editClass, L"", WS_CHILD | WS_VISIBLE | r.editStyle, 10, 10, 200,
                              24, window.Handle(), nullptr, GetModuleHandleW(nullptr), nullptr);
      ASSERT_NE(asked, nullptr);
    }
    PasswordQuestions questions(window.Handle(), FieldWindow::kAnswer);
    questions.Ask(asked, 7);
    ASSERT_TRUE(PumpUntil([&] { return !window.answers.empty(); }, 10000));
    EXPECT_EQ(window.answers[0].first, 7u);
    EXPECT_EQ(window.answers[0].second, r.password ? 1 : 0);
  }
}

TEST_F(AccessiblePasswordTest, ClosingWithACallInFlightNeitherWaitsNorAnswersLater) {
  FieldWindow window(STATE_SYSTEM_PROTECTED);
  {
    PasswordQuestions questions(window.Handle(), FieldWindow::kAnswer);
    questions.Ask(window.Handle(), 1);
    // Held here: this thread does not answer the window message the call waits on.
    const DWORD start = GetTickCount();
    while (HIWORD(GetQueueStatus(QS_SENDMESSAGE)) == 0 && GetTickCount() - start < 10000) Sleep(5);
    ASSERT_NE(HIWORD(GetQueueStatus(QS_SENDMESSAGE)), 0) << "the call never reached the window";
  }
  // The call goes on after the owner is gone, and ends without an answer.
  test::PumpFor(500);
  EXPECT_TRUE(window.answers.empty());
}

TEST(FocusWatchTest, TellsOfEachMoveBetweenControlsUntilStopped) {
  FieldWindow window;
  HWND edits[2] = {};
  for (int i = 0; i < 2; ++i) {
    edits[i] = CreateWindowExW(0, L"Edit", L"", WS_CHILD | WS_VISIBLE, 10, 10 + 30 * i, 200, 24,
                               window.Handle(), nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(edits[i], nullptr);
  }
  ASSERT_TRUE(test::Activate(window.Handle()));
  FocusWatch watch;
  ASSERT_TRUE(watch.Start(window.Handle(), FieldWindow::kAnswer));
  FocusWatch second;
  EXPECT_FALSE(second.Start(window.Handle(), FieldWindow::kAnswer));  // one at a time
  for (HWND edit : {edits[0], edits[1]}) {
    window.answers.clear();
    SetFocus(edit);
    EXPECT_TRUE(PumpUntil([&] {
      for (const auto& answer : window.answers)
        if (reinterpret_cast<HWND>(answer.first) == edit) return true;
      return false;
    }));
  }
  watch.Stop();
  test::PumpUntilIdle();
  window.answers.clear();
  SetFocus(edits[0]);
  test::PumpFor(200);
  EXPECT_TRUE(window.answers.empty());
}

}  // namespace
}  // namespace luma::win32
