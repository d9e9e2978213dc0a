// The click heard at each key press: a few milliseconds of sound made in
// memory, played asynchronously through winmm, which is loaded at the first
// click rather than at start-up.
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

#include "platform/Sound.h"

namespace luma::app {

// A mono 8-bit PCM WAV file image of the click.
std::vector<std::uint8_t> MakeClickWave();

// Played only while "Click Sound" is on: the input asks for it then.
class KeyClickSound : public ClickSound {
 public:
  // Returns at once; without winmm or a sound device nothing is heard.
  void Play() override;
};

}  // namespace luma::app
