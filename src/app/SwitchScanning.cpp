#include "app/SwitchScanning.h"

#include <vector>

#include "app/TimerIds.h"
#include "win32/Focus.h"

namespace luma::app {

void SwitchScanning::Create(HWND window, KeyboardView& view, InputDispatch& input) {
  window_ = window;
  Keyboard* keyboard = view.Model();
  if (!keyboard) return;
  timer_ = std::make_unique<win32::WindowTimer>(window, kScanTimer);
  scanner_ = std::make_unique<Scanner>(ScanParts{*keyboard, input, *timer_});
  // In the input's order, so that a picked word is the one a click takes.
  if (const WordRow* row = view.Row()) scanner_->AddItemArea(*row);
  // The highlight drawn over the keys and the row.
  scanner_->SetListener(view.ScanHighlightListener());
}

void SwitchScanning::Apply(Options& options) {
  clickIsSwitch_ = options.scanClickSwitch;
  switchKey_ = static_cast<std::uint16_t>(options.scanSwitchKey);
  std::vector<std::uint16_t> keys{switchKey_};
  if (options.scanMode == ScanMode::kStep)
    keys.push_back(static_cast<std::uint16_t>(options.scanNextKey));
  hook_.SetKeys(std::move(keys));
  if (scanner_) scanner_->ApplyOptions(options);
  if (options.scanKeys && scanner_ && !hook_.Install()) {
    options.scanKeys = false;
    // The box takes the foreground from the application typed into.
    HWND before = GetForegroundWindow();
    MessageBoxW(window_,
                L"Scan Keys cannot watch the switch keys here: the system refused. "
                L"Scanning stays off.",
                L"Lumatype", MB_OK | MB_ICONWARNING);
    if (before && before != window_) win32::ForceForegroundWindow(before, false);
  }
  on_ = options.scanKeys && scanner_;
  if (!on_) hook_.Uninstall();
  Run();
}

void SwitchScanning::KeysPlaced(Point keyOrigin) {
  if (!scanner_) return;
  scanner_->SetKeyOrigin(keyOrigin);
  scanner_->LayoutChanged();
}

void SwitchScanning::SetMinimised(bool minimised) {
  minimised_ = minimised;
  Run();
}

void SwitchScanning::Stop() {
  on_ = false;
  hook_.Uninstall();
  Run();
}

void SwitchScanning::OnTimer() {
  if (scanner_) scanner_->Tick();
}

void SwitchScanning::OnSwitchKey(std::uint16_t vk, bool down, std::uint32_t timeMs) {
  const auto which = vk == switchKey_ ? ScanSwitch::Pick : ScanSwitch::Next;
  PostMessageW(window_, kSwitchMessage, MAKEWPARAM(static_cast<WORD>(which), down ? 1 : 0),
               static_cast<LPARAM>(timeMs));
}

void SwitchScanning::OnSwitchMessage(WPARAM switchAndDown, LPARAM timeMs) {
  if (!on_ || !scanner_) return;
  const bool down = HIWORD(switchAndDown) != 0;
  const auto which = LOWORD(switchAndDown) == static_cast<WORD>(ScanSwitch::Next)
                         ? ScanSwitch::Next
                         : ScanSwitch::Pick;
  const auto time = static_cast<std::uint32_t>(timeMs);
  if (minimised_) {
    // The press only brings the keyboard back; the scan starts afresh there.
    // The application typed into keeps the keys, also where the system
    // activates a window it restores (Wine does).
    if (!down) return;
    HWND typedInto = GetForegroundWindow();
    ShowWindow(window_, SW_SHOWNOACTIVATE);
    if (typedInto && typedInto != window_ && GetForegroundWindow() != typedInto)
      win32::ForceForegroundWindow(typedInto, false);
    return;
  }
  if (down)
    scanner_->SwitchDown(which, time);
  else
    scanner_->SwitchUp(which, time);
}

bool SwitchScanning::OnMouseButton(bool down, std::uint32_t timeMs) {
  if (down) {
    if (!clickIsSwitch_ || !scanner_ || !scanner_->On()) return false;
    if (buttonsDown_++ == 0) scanner_->SwitchDown(ScanSwitch::Pick, timeMs);
    return true;
  }
  // A release whose press was the pointer's stays the pointer's.
  if (buttonsDown_ == 0) return false;
  if (--buttonsDown_ == 0 && scanner_) scanner_->SwitchUp(ScanSwitch::Pick, timeMs);
  return true;
}

void SwitchScanning::Run() {
  if (!scanner_) return;
  const bool run = on_ && !minimised_;
  if (run && !scanner_->On()) scanner_->Start();
  if (!run && scanner_->On()) {
    scanner_->Stop();
    buttonsDown_ = 0;
  }
}

}  // namespace luma::app
