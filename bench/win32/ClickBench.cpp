// The program's own work per click under Wine: the real main window gets a
// left button down and up on a key (hit test, the check of the window in
// front, SendInput, the key's repaint and the copy to the screen), timed with
// the performance counter, against the same key pressed and released directly
// with SendInput. Medians of many clicks; the key-down and key-up halves are
// reported apart, and what a click adds over the direct press.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "app/MainWindow.h"
#include "keys/KeyInput.h"
#include "win32/Win32System.h"

namespace {

// Every read gives the default and writes go nowhere: the benchmark leaves
// no settings behind.
class NoSettings : public luma::Settings {
 public:
  std::int32_t ReadInteger(const std::string&, std::int32_t defaultValue) override {
    return defaultValue;
  }
  bool ReadBool(const std::string&, bool defaultValue) override { return defaultValue; }
  bool WriteInteger(const std::string&, std::int32_t) override { return true; }
  bool WriteBool(const std::string&, bool) override { return true; }
};

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v.empty() ? 0.0 : v[v.size() / 2];
}

void Pump() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  NoSettings settings;
  luma::app::MainWindow form(settings);
  if (!form.Create(instance)) return 1;
  ShowWindow(form.Handle(), SW_SHOWNOACTIVATE);
  UpdateWindow(form.Handle());
  Pump();

  LARGE_INTEGER freq;
  QueryPerformanceFrequency(&freq);
  auto now = [] {
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return t.QuadPart;
  };
  const int kClicks = 300;
  // Function key F12 (design 360..390 x 0..30): typing nothing visible into
  // whatever has the focus while the benchmark runs.
  const LPARAM at = MAKELPARAM(375, 15);
  std::vector<double> downs, ups;
  for (int i = 0; i < kClicks; ++i) {
    const auto t0 = now();
    SendMessageW(form.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, at);
    const auto t1 = now();
    SendMessageW(form.Handle(), WM_LBUTTONUP, 0, at);
    const auto t2 = now();
    downs.push_back(1e6 * double(t1 - t0) / double(freq.QuadPart));
    ups.push_back(1e6 * double(t2 - t1) / double(freq.QuadPart));
    Pump();
  }
  luma::win32::Win32KeySender sender;
  std::vector<double> direct;
  for (int i = 0; i < kClicks; ++i) {
    const auto t0 = now();
    luma::SendKeyInput(sender, VK_F12, false, false);
    luma::SendKeyInput(sender, VK_F12, true, false);
    const auto t1 = now();
    direct.push_back(1e6 * double(t1 - t0) / double(freq.QuadPart));
    Pump();
  }
  const double down = Median(downs), up = Median(ups), press = Median(direct);
  std::printf(
      "click under Wine, %d clicks: press median %.1f us, release median %.1f us, "
      "whole click %.1f us (%.3f ms); a direct key press and release %.1f us; "
      "the click adds %.3f ms\n",
      kClicks, down, up, down + up, (down + up) / 1000.0, press, (down + up - press) / 1000.0);
  DestroyWindow(form.Handle());
  return 0;
}
