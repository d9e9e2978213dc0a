// The program's own items at the end of the window's system menu: the
// options (each written as soon as it is chosen), "Change Colors", the web
// site, the keyboard switch and the word prediction block; their check marks,
// and what each command does.
#pragma once

#include <windows.h>

#include <array>
#include <cstdint>
#include <functional>
#include <utility>

#include "input/InputDispatch.h"
#include "settings/Options.h"
#include "settings/Settings.h"

namespace luma::app {

class SystemMenu {
 public:
  // Compared whole, as they always were: shortcuts and other programs send them.
  static constexpr UINT kOpenWebSite = 1026;
  static constexpr UINT kAutoClick = 1027;
  static constexpr UINT kChangeColors = 1028;
  // Multiples of 16 below the system's commands, compared without the low
  // four bits, which the system may set on a command it passes on.
  static constexpr UINT kHoverClick = 0x0200;
  static constexpr UINT kFirstHoverTime = 0x0210;  // then one every 0x10
  static constexpr UINT kClickSound = 0x0270;
  static constexpr UINT kFullKeyboard = 0x0410;
  static constexpr UINT kWordPrediction = 0x0420;
  static constexpr UINT kLearnWords = 0x0430;
  static constexpr UINT kForgetLearnedWords = 0x0440;
  static constexpr UINT kScanKeys = 0x0500;
  static constexpr UINT kFirstScanTime = 0x0510;  // then one every 0x10
  static constexpr UINT kScanAutomatic = 0x0570;
  static constexpr UINT kScanStep = 0x0580;
  static constexpr UINT kClickIsSwitch = 0x0590;
  static constexpr std::array<std::int32_t, 6> kHoverTimesMs = {500, 750, 1000, 1500, 2000, 3000};
  static constexpr std::array<std::int32_t, 6> kScanTimesMs = kHoverTimesMs;

  // options: the options as chosen, which the menu changes; all must outlive it.
  // forgetLearnedWords deletes the learned words of every language once the
  // user has said yes; without it the item is greyed. followScanning: the
  // scanning options chosen are put in force, before they are shown and
  // written; it may turn scanning off where it cannot run.
  SystemMenu(Options& options, InputDispatch& input, Settings& settings,
             std::function<void()> changeColors, std::function<void()> switchKeyboard = {},
             std::function<void()> forgetLearnedWords = {},
             std::function<void()> followScanning = {})
      : options_(options),
        input_(input),
        settings_(settings),
        changeColors_(std::move(changeColors)),
        switchKeyboard_(std::move(switchKeyboard)),
        forgetLearnedWords_(std::move(forgetLearnedWords)),
        followScanning_(std::move(followScanning)) {}

  // Appends a separator, "Hover Click", the "Hover Time" submenu of radio
  // items and "Click Sound"; then a separator, "Word Prediction", "Learn
  // Words" and "Forget Learned Words"; then a separator, "Scan Keys", the
  // "Scan Speed" and "Scan Mode" submenus of radio items and "Click Is
  // Switch"; then, last as it always was, a
  // separator, "Auto Click", "Change Colors", "Open <site>" and "Full Keyboard".
  void Create(HWND window);
  // The check marks and the radio item show the options; a hand-edited time
  // that is none of the choices checks no radio item.
  void Show();
  // WM_SYSCOMMAND: true when the command was one of these items and is done;
  // the system's own commands are left to the default processing.
  bool OnCommand(WPARAM command);

 private:
  // The menu shows the choice and the input has it before the store is
  // asked, which may fail.
  void Chosen(Option option);
  // One Yes/No question before the learned words go; no undoes nothing.
  void AskToForgetLearnedWords();

  HWND window_ = nullptr;
  HMENU hoverTimes_ = nullptr;
  HMENU scanTimes_ = nullptr;
  HMENU scanModes_ = nullptr;
  Options& options_;
  InputDispatch& input_;
  Settings& settings_;
  std::function<void()> changeColors_;
  std::function<void()> switchKeyboard_;
  std::function<void()> forgetLearnedWords_;
  std::function<void()> followScanning_;
};

}  // namespace luma::app
