// What the program reads and writes between runs. Every read passes the
// caller's own default; nothing is cached, so a value written is what the
// next read sees.
#pragma once

#include <cstdint>
#include <string>

namespace luma {

class Settings {
 public:
  virtual ~Settings() = default;
  // A value that is missing or cannot be read gives the default. An error
  // worth telling the user about has already been reported when it returns.
  virtual std::int32_t ReadInteger(const std::string& name, std::int32_t defaultValue) = 0;
  virtual bool ReadBool(const std::string& name, bool defaultValue) = 0;
  // False when the write failed; the failure has been reported.
  virtual bool WriteInteger(const std::string& name, std::int32_t value) = 0;
  virtual bool WriteBool(const std::string& name, bool value) = 0;
};

// Value names other programs and earlier runs know.
inline constexpr const char* kAlphaBlendValue = "AlphaBlend";
inline constexpr const char* kColorsValue = "Colors";
inline constexpr const char* kFirstRunDoneValue = "Site";

}  // namespace luma
