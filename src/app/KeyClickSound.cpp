#include "app/KeyClickSound.h"

#include <mmsystem.h>

#include <cmath>
#include <utility>

#include "win32/ProcAddress.h"

namespace luma::app {
namespace {

constexpr std::uint32_t kSampleRate = 22050;
constexpr std::uint32_t kSamples = kSampleRate * 15 / 1000;  // 15 ms
constexpr double kPitchHz = 1800;

// Writes into a buffer of the file's final size, field after field.
class WaveWriter {
 public:
  explicit WaveWriter(std::size_t size) : bytes_(size) {}
  void Number(std::uint32_t value, int size) {
    for (int i = 0; i < size; ++i) bytes_[at_++] = static_cast<std::uint8_t>(value >> (8 * i));
  }
  void Tag(const char (&tag)[5]) {
    for (int i = 0; i < 4; ++i) bytes_[at_++] = static_cast<std::uint8_t>(tag[i]);
  }
  std::vector<std::uint8_t> Done() { return std::move(bytes_); }

 private:
  std::vector<std::uint8_t> bytes_;
  std::size_t at_ = 0;
};

}  // namespace

std::vector<std::uint8_t> MakeClickWave() {
  WaveWriter wave(44 + kSamples);
  wave.Tag("RIFF");
  wave.Number(36 + kSamples, 4);
  wave.Tag("WAVE");
  wave.Tag("fmt ");
  wave.Number(16, 4);
  wave.Number(1, 2);  // PCM
  wave.Number(1, 2);  // mono
  wave.Number(kSampleRate, 4);
  wave.Number(kSampleRate, 4);  // bytes a second
  wave.Number(1, 2);            // block size
  wave.Number(8, 2);            // bits a sample
  wave.Tag("data");
  wave.Number(kSamples, 4);
  // A short tone that dies away fast, heard as a tick; 8-bit PCM is unsigned
  // around 128.
  constexpr double kTwoPi = 6.283185307179586;
  for (std::uint32_t i = 0; i < kSamples; ++i) {
    const double t = static_cast<double>(i) / kSampleRate;
    const double level = 90.0 * std::exp(-t * 400.0) * std::sin(kTwoPi * kPitchHz * t);
    wave.Number(static_cast<std::uint32_t>(128 + std::lround(level)), 1);
  }
  return wave.Done();
}

void KeyClickSound::Play() {
  using PlaySoundFn = BOOL(WINAPI*)(LPCWSTR, HMODULE, DWORD);
  // Loaded once and kept: an asynchronous sound plays on in winmm's thread.
  static const HMODULE winmm = LoadLibraryW(L"winmm.dll");
  static const auto playSound = win32::ProcAddress<PlaySoundFn>(winmm, "PlaySoundW");
  // Read by winmm while it plays, so it lives as long as the process.
  static const std::vector<std::uint8_t> wave = MakeClickWave();
  if (playSound)
    playSound(reinterpret_cast<LPCWSTR>(wave.data()), nullptr,
              SND_MEMORY | SND_ASYNC | SND_NODEFAULT);
}

}  // namespace luma::app
