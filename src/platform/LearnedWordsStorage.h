// Where the words the user taught the keyboard are kept between runs: one
// text, read whole at the start and written whole when it changes.
#pragma once

#include <string_view>

#include "platform/SettingsBackEnd.h"

namespace luma {

class LearnedWordsStorage {
 public:
  virtual ~LearnedWordsStorage() = default;
  // The whole text; kMissing when there is none yet (nothing learned);
  // kFailed when it exists but cannot be read whole. Then it stays as it
  // is: every later Write is refused, and learning lives in memory only.
  virtual FileContent Read() = 0;
  // Replaces the text in one step: a crash leaves the old text or the new
  // one, never part of either. False when it could not be written.
  virtual bool Write(std::string_view text) = 0;
  // Removes the text; true when none is left (also when there was none).
  virtual bool Delete() = 0;
};

}  // namespace luma
