// PLACEHOLDER until the Win32 shell lands.
namespace luma::win32 {}
