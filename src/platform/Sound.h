// The click heard at a key press. The Win32 one plays asynchronously and
// stays silent when switched off or without a sound device.
#pragma once

namespace luma {

class ClickSound {
 public:
  virtual ~ClickSound() = default;
  virtual void Play() = 0;
};

}  // namespace luma
