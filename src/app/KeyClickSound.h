// The click heard at each key press: a few milliseconds of sound made in
// memory, played asynchronously through winmm, which is loaded at the first
// click rather than at start-up.
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

#include "platform/Sound.h"
#include "settings/ClickOptions.h"

namespace luma::app {

// A mono 8-bit PCM WAV file image of the click.
std::vector<std::uint8_t> MakeClickWave();

class KeyClickSound : public ClickSound {
 public:
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool on) { enabled_ = on; }
  // Returns at once; without winmm or a sound device nothing is heard.
  void Play() override;

 private:
  bool enabled_ = kDefaultClickSound;
};

}  // namespace luma::app
