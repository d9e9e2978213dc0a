#include "win32/Integrity.h"

#include <vector>

#include "win32/Handles.h"

namespace luma::win32 {
namespace {

// A process or token: null when there is none, released with CloseHandle.
struct CloseKernelHandle : NullIsInvalid<HANDLE> {
  static void Free(HANDLE handle) { CloseHandle(handle); }
};
using KernelHandle = UniqueHandle<HANDLE, CloseKernelHandle>;

}  // namespace

bool ProcessIntegrityLevel(HANDLE process, DWORD& level) {
  HANDLE rawToken = nullptr;
  if (!OpenProcessToken(process, TOKEN_QUERY, &rawToken)) return false;
  const KernelHandle token(rawToken);
  DWORD size = 0;
  GetTokenInformation(token.Get(), TokenIntegrityLevel, nullptr, 0, &size);
  if (size < sizeof(TOKEN_MANDATORY_LABEL)) return false;
  // DWORD-aligned room for the label and the SID it points into.
  std::vector<DWORD> buffer((size + sizeof(DWORD) - 1) / sizeof(DWORD));
  if (!GetTokenInformation(token.Get(), TokenIntegrityLevel, buffer.data(),
                           static_cast<DWORD>(buffer.size() * sizeof(DWORD)), &size))
    return false;
  const auto* label = reinterpret_cast<const TOKEN_MANDATORY_LABEL*>(buffer.data());
  PSID sid = label->Label.Sid;
  if (sid == nullptr || !IsValidSid(sid)) return false;
  const UCHAR count = *GetSidSubAuthorityCount(sid);
  if (count == 0) return false;
  level = *GetSidSubAuthority(sid, count - 1);
  return true;
}

luma::WindowId Win32IntegrityProbe::ForegroundWindow() {
  return reinterpret_cast<luma::WindowId>(GetForegroundWindow());
}

luma::IntegrityOrder Win32IntegrityProbe::CompareWithOwn(luma::WindowId window) {
  if (!ownRead_) {
    ownRead_ = true;
    ownKnown_ = ProcessIntegrityLevel(GetCurrentProcess(), own_);
  }
  DWORD processId = 0;
  GetWindowThreadProcessId(reinterpret_cast<HWND>(window), &processId);
  if (processId == 0 || !ownKnown_) return luma::IntegrityOrder::kUnknown;
  const KernelHandle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId));
  DWORD level = 0;
  if (!process || !ProcessIntegrityLevel(process.Get(), level))
    return luma::IntegrityOrder::kUnknown;
  if (level > own_) return luma::IntegrityOrder::kHigher;
  return level < own_ ? luma::IntegrityOrder::kLower : luma::IntegrityOrder::kEqual;
}

}  // namespace luma::win32
