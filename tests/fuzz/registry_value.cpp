// A registry value of any type and length read through the settings store:
// the value decoded from at most four bytes of REG_DWORD, otherwise the
// default with exactly one error; a missing value gives the default silently.
//
// Input: byte 0 bit 0 = the value exists; bytes 1..4 its type and 5..8 the
// default (little-endian, short input padded with zeros); the rest its data.
#include <cstddef>
#include <cstdint>
#include <string>

#include "FuzzCheck.h"
#include "SettingsFakes.h"
#include "settings/SettingsStore.h"

namespace {

using luma::fuzz::Check;

std::uint32_t Word(const std::uint8_t* data, std::size_t size, std::size_t at) {
  std::uint32_t word = 0;
  for (std::size_t i = 0; i < 4; ++i)
    if (at + i < size) word |= std::uint32_t{data[at + i]} << (8 * i);
  return word;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const bool exists = size > 0 && (data[0] & 1) != 0;
  const std::uint32_t type = Word(data, size, 1);
  const auto defaultValue = static_cast<std::int32_t>(Word(data, size, 5));
  luma::RegistryData value{type, {}};
  if (size > 9) value.bytes.assign(data + 9, data + size);

  luma::fakes::CallLog log;
  luma::fakes::FakeRegistry registry(log);
  luma::fakes::FakeProfile profile(log);
  luma::fakes::RecordingErrors errors;
  if (exists) registry.values["Colors"] = value;
  luma::SettingsStore store(registry, profile, errors);

  const std::int32_t read = store.ReadInteger("Colors", defaultValue);
  const bool valid = type == luma::kRegDword && value.bytes.size() <= 4;
  if (!exists) {
    Check(read == defaultValue && errors.messages.empty(), "a missing value is not the default");
  } else if (valid) {
    std::uint32_t decoded = 0;
    for (std::size_t i = 0; i < value.bytes.size(); ++i)
      decoded |= std::uint32_t{value.bytes[i]} << (8 * i);
    Check(read == static_cast<std::int32_t>(decoded), "a DWORD decoded wrongly");
    Check(errors.messages.empty(), "an error for a valid value");
  } else {
    Check(read == defaultValue, "an invalid value is not the default");
    Check(errors.messages.size() == 1, "an invalid value without exactly one error");
  }

  const std::size_t errorsBefore = errors.messages.size();
  const bool flag = store.ReadBool("Colors", true);
  Check(flag == (exists && valid ? read != 0 : true), "a flag read differently from its number");
  Check(errors.messages.size() - errorsBefore == (exists && !valid ? 1u : 0u),
        "a flag reports differently from its number");
  return 0;
}
