// Reads and pokes the windows of the end-to-end tests from inside Wine.
// Prints machine-readable "name=value" lines (notepad-text prints the raw text).
// Exit status: 0 success, 1 bad usage, 2 window not found, 3 timed out.
// "probe serve" answers such commands from stdin for a whole session.
#include <windows.h>

#include <commctrl.h>
#include <fcntl.h>
#include <io.h>
#include <oleacc.h>
#include <psapi.h>
#include <winternl.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "FakeAccessible.h"

namespace {

std::string Utf8(const std::wstring& text) {
  if (text.empty()) return {};
  int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                 nullptr, nullptr);
  std::string out(static_cast<size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), size,
                      nullptr, nullptr);
  return out;
}

std::wstring Wide(const char* text) {
  int size = MultiByteToWideChar(CP_UTF8, 0, text, -1, nullptr, 0);
  std::wstring out(static_cast<size_t>(size > 0 ? size : 1), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, text, -1, out.data(), size);
  out.resize(wcslen(out.c_str()));
  return out;
}

// While serving, a command's output is collected here and sent as one reply.
std::string* reply = nullptr;

void Print(const std::string& text) {
  if (reply) {
    reply->append(text);
    return;
  }
  fwrite(text.data(), 1, text.size(), stdout);
  fflush(stdout);
}

std::string ClassOf(HWND hwnd) {
  wchar_t name[256] = {};
  GetClassNameW(hwnd, name, 256);
  return Utf8(name);
}

std::string TitleOf(HWND hwnd) {
  // WM_GETTEXT through SendMessageTimeout so that a hung window cannot hang the probe.
  wchar_t title[512] = {};
  DWORD_PTR result = 0;
  SendMessageTimeoutW(hwnd, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(title), SMTO_ABORTIFHUNG,
                      2000, &result);
  return Utf8(title);
}

// With "--hwnd N" before the command, that window stands for its class: two
// instances of one program can then be told apart.
HWND forcedWindow = nullptr;

HWND FindTop(const char* className) {
  if (forcedWindow && ClassOf(forcedWindow) == className) return forcedWindow;
  return FindWindowW(Wide(className).c_str(), nullptr);
}

HWND NotepadEdit() {
  HWND notepad = FindWindowW(L"Notepad", nullptr);
  return notepad ? FindWindowExW(notepad, nullptr, L"Edit", nullptr) : nullptr;
}

int NotepadText() {
  HWND edit = NotepadEdit();
  if (!edit) return 2;
  DWORD_PTR length = 0;
  if (!SendMessageTimeoutW(edit, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 5000, &length)) return 3;
  std::vector<wchar_t> text(length + 1, L'\0');
  DWORD_PTR copied = 0;
  if (!SendMessageTimeoutW(edit, WM_GETTEXT, length + 1, reinterpret_cast<LPARAM>(text.data()),
                           SMTO_ABORTIFHUNG, 5000, &copied))
    return 3;
  Print(Utf8(std::wstring(text.data(), copied)));
  return 0;
}

// The text of the first child of class childClass in a top-level window of
// class topClass: another program's text box (Wordpad's rich edit, the
// password window's edit).
int ChildText(const char* topClass, const char* childClass) {
  HWND top = FindWindowW(Wide(topClass).c_str(), nullptr);
  HWND child = top ? FindWindowExW(top, nullptr, Wide(childClass).c_str(), nullptr) : nullptr;
  if (!child) return 2;
  std::vector<wchar_t> text(4096, L'\0');
  DWORD_PTR copied = 0;
  if (!SendMessageTimeoutW(child, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()),
                           SMTO_ABORTIFHUNG, 5000, &copied))
    return 3;
  Print(Utf8(std::wstring(text.data(), copied)));
  return 0;
}

// Whether the drawn field is a password now, and how often its accessible
// object was asked for (shown in the window's Static child).
bool fieldProtected = false;
int fieldAsked = 0;
HWND askedLabel = nullptr;

WNDPROC editProc = nullptr;

LRESULT CALLBACK DrawnFieldProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_GETOBJECT && static_cast<LONG>(lParam) == OBJID_CLIENT) {
    SetWindowTextW(askedLabel, (L"asked " + std::to_wstring(++fieldAsked)).c_str());
    auto* field =
        new luma::win32::test::FakeAccessible((fieldProtected ? STATE_SYSTEM_PROTECTED : 0) |
                                              STATE_SYSTEM_FOCUSABLE | STATE_SYSTEM_FOCUSED);
    const LRESULT result = LresultFromObject(__uuidof(IAccessible), wParam, field);
    field->Release();
    return result;
  }
  return CallWindowProcW(editProc, hwnd, message, wParam, lParam);
}

bool drawnField = false;
// Posted to the window: the drawn field becomes a password where it is, as
// a page's field that the focus moved to inside the same window.
constexpr UINT kFieldBecomesPassword = WM_APP + 1;

LRESULT CALLBACK PasswordWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  static HWND edit = nullptr;
  switch (message) {
    case WM_CREATE:
      edit =
          CreateWindowExW(WS_EX_CLIENTEDGE, L"Edit", L"",
                          WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL | (drawnField ? 0 : ES_PASSWORD),
                          10, 10, 280, 24, hwnd, nullptr, GetModuleHandleW(nullptr), nullptr);
      if (edit && drawnField) {
        editProc = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrW(edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&DrawnFieldProc)));
        askedLabel = CreateWindowExW(0, L"Static", L"asked 0", WS_CHILD | WS_VISIBLE, 10, 40, 280,
                                     16, hwnd, nullptr, GetModuleHandleW(nullptr), nullptr);
      }
      return edit ? 0 : -1;
    case kFieldBecomesPassword:
      fieldProtected = true;
      NotifyWinEvent(EVENT_OBJECT_FOCUS, edit, OBJID_CLIENT, CHILDID_SELF);
      return 0;
    case WM_ACTIVATE:
      if (LOWORD(wParam) != WA_INACTIVE) SetFocus(edit);
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcW(hwnd, message, wParam, lParam);
  }
}

// A window of class LumaProbePassword whose one control, focused, is an edit
// with the password style; runs until it is closed. drawn: an edit without
// the style that only its accessible object marks as a password, as a field
// a program draws itself; drawnLater: one that is not a password until
// kFieldBecomesPassword comes.
int PasswordWindow(bool drawn, bool drawnLater) {
  drawn = drawn || drawnLater;
  drawnField = drawn;
  fieldProtected = drawn && !drawnLater;
  // The accessible object lives in this thread's apartment.
  if (drawn && FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) return 3;
  WNDCLASSW wc{};
  wc.lpfnWndProc = PasswordWindowProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  wc.lpszClassName = L"LumaProbePassword";
  if (!RegisterClassW(&wc)) return 3;
  HWND window = CreateWindowExW(0, wc.lpszClassName, L"Password", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                100, 100, 320, 90, nullptr, nullptr, wc.hInstance, nullptr);
  if (!window) return 3;
  SetForegroundWindow(window);
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return 0;
}

int NotepadClear() {
  HWND edit = NotepadEdit();
  if (!edit) return 2;
  DWORD_PTR result = 0;
  if (!SendMessageTimeoutW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L""), SMTO_ABORTIFHUNG,
                           5000, &result))
    return 3;
  return 0;
}

int Foreground() {
  HWND fg = GetForegroundWindow();
  Print("hwnd=" + std::to_string(reinterpret_cast<uintptr_t>(fg)) + "\n");
  Print("class=" + (fg ? ClassOf(fg) : std::string()) + "\n");
  Print("title=" + (fg ? TitleOf(fg) : std::string()) + "\n");
  return 0;
}

int Window(const char* className) {
  HWND hwnd = FindTop(className);
  if (!hwnd) return 2;
  RECT outer{}, client{};
  GetWindowRect(hwnd, &outer);
  GetClientRect(hwnd, &client);
  POINT origin{0, 0};
  ClientToScreen(hwnd, &origin);
  LONG_PTR exStyle = GetWindowLongPtrW(hwnd, GWL_EXSTYLE);
  LONG_PTR style = GetWindowLongPtrW(hwnd, GWL_STYLE);
  BYTE alpha = 255;
  DWORD flags = 0;
  COLORREF key = 0;
  bool layered = (exStyle & WS_EX_LAYERED) != 0;
  bool haveAlpha =
      layered && GetLayeredWindowAttributes(hwnd, &key, &alpha, &flags) && (flags & LWA_ALPHA) != 0;
  char line[1024];
  snprintf(line, sizeof line,
           "left=%ld\ntop=%ld\nright=%ld\nbottom=%ld\nclient_x=%ld\nclient_y=%ld\n"
           "client_w=%ld\nclient_h=%ld\nexstyle=%lu\nstyle=%lu\ntopmost=%d\nlayered=%d\n"
           "alpha=%d\nvisible=%d\n",
           outer.left, outer.top, outer.right, outer.bottom, origin.x, origin.y,
           client.right - client.left, client.bottom - client.top,
           static_cast<unsigned long>(exStyle), static_cast<unsigned long>(style),
           (exStyle & WS_EX_TOPMOST) ? 1 : 0, layered ? 1 : 0, haveAlpha ? alpha : -1,
           IsWindowVisible(hwnd) ? 1 : 0);
  Print(line);
  Print("title=" + TitleOf(hwnd) + "\n");
  return 0;
}

int WorkArea() {
  RECT wa{};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &wa, 0);
  char line[256];
  snprintf(line, sizeof line, "left=%ld\ntop=%ld\nright=%ld\nbottom=%ld\n", wa.left, wa.top,
           wa.right, wa.bottom);
  Print(line);
  return 0;
}

// The window adds its slider just after its first picture: wait for it.
HWND Slider() {
  HWND form = FindTop("TMainForm");
  for (int i = 0; form && i < 500; ++i) {
    if (HWND slider = FindWindowExW(form, nullptr, TRACKBAR_CLASSW, nullptr)) return slider;
    Sleep(10);
  }
  return nullptr;
}

int SetSlider(int position) {
  HWND slider = Slider();
  if (!slider) return 2;
  HWND parent = GetParent(slider);
  DWORD_PTR result = 0;
  SendMessageTimeoutW(slider, TBM_SETPOS, TRUE, position, SMTO_ABORTIFHUNG, 5000, &result);
  // TBM_SETPOS does not notify; the parent's scroll handler is what reacts to a user's move.
  SendMessageTimeoutW(parent, WM_HSCROLL, MAKEWPARAM(TB_THUMBPOSITION, position),
                      reinterpret_cast<LPARAM>(slider), SMTO_ABORTIFHUNG, 5000, &result);
  SendMessageTimeoutW(parent, WM_HSCROLL, MAKEWPARAM(TB_ENDTRACK, 0),
                      reinterpret_cast<LPARAM>(slider), SMTO_ABORTIFHUNG, 5000, &result);
  DWORD_PTR now = 0;
  SendMessageTimeoutW(slider, TBM_GETPOS, 0, 0, SMTO_ABORTIFHUNG, 5000, &now);
  Print("position=" + std::to_string(now) + "\n");
  return 0;
}

int SliderInfo() {
  HWND slider = Slider();
  if (!slider) return 2;
  RECT rect{};
  GetWindowRect(slider, &rect);
  DWORD_PTR pos = 0, lo = 0, hi = 0;
  SendMessageTimeoutW(slider, TBM_GETPOS, 0, 0, SMTO_ABORTIFHUNG, 5000, &pos);
  SendMessageTimeoutW(slider, TBM_GETRANGEMIN, 0, 0, SMTO_ABORTIFHUNG, 5000, &lo);
  SendMessageTimeoutW(slider, TBM_GETRANGEMAX, 0, 0, SMTO_ABORTIFHUNG, 5000, &hi);
  char line[256];
  snprintf(line, sizeof line,
           "left=%ld\ntop=%ld\nright=%ld\nbottom=%ld\nposition=%lu\nmin=%lu\nmax=%lu\n", rect.left,
           rect.top, rect.right, rect.bottom, static_cast<unsigned long>(pos),
           static_cast<unsigned long>(lo), static_cast<unsigned long>(hi));
  Print(line);
  return 0;
}

int SetClientSize(int width, int height) {
  HWND hwnd = FindTop("TMainForm");
  if (!hwnd) return 2;
  // The frame's size is whatever the window has now around its client area.
  for (int attempt = 0; attempt < 3; ++attempt) {
    RECT outer{}, client{};
    GetWindowRect(hwnd, &outer);
    GetClientRect(hwnd, &client);
    if (client.right == width && client.bottom == height) break;
    int frameW = (outer.right - outer.left) - client.right;
    int frameH = (outer.bottom - outer.top) - client.bottom;
    SetWindowPos(hwnd, nullptr, 0, 0, width + frameW, height + frameH,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    Sleep(200);
  }
  RECT client{};
  GetClientRect(hwnd, &client);
  POINT origin{0, 0};
  ClientToScreen(hwnd, &origin);
  char line[160];
  snprintf(line, sizeof line, "client_w=%ld\nclient_h=%ld\nclient_x=%ld\nclient_y=%ld\n",
           client.right, client.bottom, origin.x, origin.y);
  Print(line);
  return 0;
}

int MoveWindowTo(int x, int y) {
  HWND hwnd = FindTop("TMainForm");
  if (!hwnd) return 2;
  SetWindowPos(hwnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  return Window("TMainForm");
}

// The DPI a window reports (GetDpiForWindow, looked up as the program does)
// and the screen's LOGPIXELSX.
int Dpi(const char* className) {
  HWND hwnd = FindTop(className);
  if (!hwnd) return 2;
  using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
  const auto getDpiForWindow = reinterpret_cast<GetDpiForWindowFn>(reinterpret_cast<void (*)()>(
      GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")));
  HDC screen = GetDC(nullptr);
  const int logPixels = GetDeviceCaps(screen, LOGPIXELSX);
  ReleaseDC(nullptr, screen);
  Print("window=" + std::to_string(getDpiForWindow ? getDpiForWindow(hwnd) : 0) +
        "\nscreen=" + std::to_string(logPixels) + "\n");
  return 0;
}

int Close(const char* className, int timeoutMs) {
  HWND hwnd = FindTop(className);
  if (!hwnd) return 2;
  PostMessageW(hwnd, WM_CLOSE, 0, 0);
  for (int waited = 0; waited < timeoutMs; waited += 50) {
    if (!IsWindow(hwnd)) {
      Print("closed=1\n");
      return 0;
    }
    Sleep(50);
  }
  Print("closed=0\n");
  return 3;
}

int KeyState(int vk) {
  SHORT state = GetAsyncKeyState(vk);
  Print("down=" + std::to_string((state & 0x8000) ? 1 : 0) + "\n");
  return 0;
}

// Every virtual key the system reports down, as "down=16,160" (empty when none).
int KeysDown() {
  std::string down;
  for (int vk = 1; vk < 256; ++vk) {
    if (!(GetAsyncKeyState(vk) & 0x8000)) continue;
    if (!down.empty()) down += ",";
    down += std::to_string(vk);
  }
  Print("down=" + down + "\n");
  return 0;
}

int Activate(const char* className) {
  HWND hwnd = FindTop(className);
  if (!hwnd) return 2;
  SetForegroundWindow(hwnd);
  return 0;
}

// Sends a message to a top-level window, as another program would.
int Send(const char* className, UINT message, WPARAM wParam, LPARAM lParam) {
  HWND hwnd = FindTop(className);
  if (!hwnd) return 2;
  DWORD_PTR result = 0;
  if (!SendMessageTimeoutW(hwnd, message, wParam, lParam, SMTO_ABORTIFHUNG, 5000, &result))
    return 3;
  Print("result=" + std::to_string(result) + "\n");
  return 0;
}

// Posts a message to a top-level window, as the system posts some.
int Post(const char* className, UINT message, WPARAM wParam, LPARAM lParam) {
  HWND hwnd = FindTop(className);
  if (!hwnd) return 2;
  return PostMessageW(hwnd, message, wParam, lParam) ? 0 : 3;
}

// The program's message box: its caption, its texts, whether it shows the
// error icon; with "ok" its OK button is pressed.
int MessageBoxInfo(bool pressOk) {
  HWND box = FindWindowW(L"#32770", L"Lumatype");
  if (!box) return 2;
  std::string texts;
  bool icon = false;
  for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    if (ClassOf(child) != "Static") continue;
    if (GetWindowLongPtrW(child, GWL_STYLE) & SS_ICON) {
      icon = icon || SendMessageW(child, STM_GETICON, 0, 0) != 0;
      continue;
    }
    texts += TitleOf(child);
  }
  Print("title=" + TitleOf(box) + "\ntext=" + texts + "\nicon=" + (icon ? "1" : "0") + "\n");
  if (pressOk) PostMessageW(box, WM_COMMAND, IDOK, 0);
  return 0;
}

// The start-up benchmark's clock, outside the program: starts EXE, and
// watches the screen until the visible window of class CLASS shows the
// color RRGGBB at client point (X, Y), its first paint. Prints the
// milliseconds from the start, then closes the window and waits for the exit.
int Startup(const char* exe, const char* className, int x, int y, const char* hexColor,
            int timeoutMs) {
  unsigned long rgb = strtoul(hexColor, nullptr, 16);
  COLORREF wanted = RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
  std::wstring commandLine = L"\"" + Wide(exe) + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  LARGE_INTEGER frequency{}, start{}, now{};
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&start);
  if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &process))
    return 2;
  HDC screen = GetDC(nullptr);
  double elapsedMs = 0;
  bool painted = false;
  HWND hwnd = nullptr;
  while (elapsedMs < timeoutMs) {
    hwnd = FindTop(className);
    if (hwnd && IsWindowVisible(hwnd)) {
      POINT point{x, y};
      ClientToScreen(hwnd, &point);
      if (GetPixel(screen, point.x, point.y) == wanted) {
        painted = true;
        break;
      }
    }
    if (WaitForSingleObject(process.hProcess, 1) == WAIT_OBJECT_0) break;
    QueryPerformanceCounter(&now);
    elapsedMs = 1000.0 * static_cast<double>(now.QuadPart - start.QuadPart) /
                static_cast<double>(frequency.QuadPart);
  }
  QueryPerformanceCounter(&now);
  elapsedMs = 1000.0 * static_cast<double>(now.QuadPart - start.QuadPart) /
              static_cast<double>(frequency.QuadPart);
  ReleaseDC(nullptr, screen);
  if (hwnd && IsWindow(hwnd)) PostMessageW(hwnd, WM_CLOSE, 0, 0);
  if (WaitForSingleObject(process.hProcess, 10000) != WAIT_OBJECT_0)
    TerminateProcess(process.hProcess, 1);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  if (!painted) return 3;
  char line[64];
  snprintf(line, sizeof line, "first_paint_ms=%.1f\n", elapsedMs);
  Print(line);
  return 0;
}

// Every top-level window of a class, one "hwnd=N" line each.
int Windows(const char* className) {
  std::wstring wanted = Wide(className);
  for (HWND hwnd = FindWindowExW(nullptr, nullptr, wanted.c_str(), nullptr); hwnd;
       hwnd = FindWindowExW(nullptr, hwnd, wanted.c_str(), nullptr)) {
    Print("hwnd=" + std::to_string(reinterpret_cast<uintptr_t>(hwnd)) + "\n");
  }
  return 0;
}

// GDI objects from the process's GDI handle table, where GetGuiResources is
// not implemented (Wine): the table's address is in the process's PEB.
struct GdiHandleEntry {
  UINT64 object;
  ULONG owner;
  USHORT unique;
  UCHAR type;
  UCHAR flags;
  UINT64 userPointer;
};
constexpr size_t kGdiHandles = 0x10000;

long CountGdiTable(HANDLE process) {
  using QueryProcess = NTSTATUS(WINAPI*)(HANDLE, PROCESSINFOCLASS, PVOID, ULONG, PULONG);
  auto query = reinterpret_cast<QueryProcess>(reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQueryInformationProcess")));
  PROCESS_BASIC_INFORMATION basic{};
  if (!query || query(process, ProcessBasicInformation, &basic, sizeof basic, nullptr) != 0)
    return -1;
  // GdiSharedHandleTable: 0xF8 into the 64-bit PEB, 0x94 into the 32-bit one.
  const size_t offset = sizeof(void*) == 8 ? 0xF8 : 0x94;
  void* table = nullptr;
  SIZE_T got = 0;
  if (!ReadProcessMemory(process, reinterpret_cast<BYTE*>(basic.PebBaseAddress) + offset, &table,
                         sizeof table, &got) ||
      !table)
    return -1;
  std::vector<GdiHandleEntry> entries(kGdiHandles);
  if (!ReadProcessMemory(process, table, entries.data(), entries.size() * sizeof(GdiHandleEntry),
                         &got))
    return -1;
  long count = 0;
  for (const GdiHandleEntry& entry : entries) {
    const bool stock = (entry.unique & 0x80) != 0;
    if (entry.type != 0 && !stock) ++count;
  }
  return count;
}

BOOL CALLBACK CountWindow(HWND hwnd, LPARAM counter) {
  ++*reinterpret_cast<long*>(counter);
  EnumChildWindows(hwnd, CountWindow, counter);
  return TRUE;
}

struct ThreadWindows {
  DWORD processId;
  long count;
};

// Windows of the process, with their children, where GetGuiResources is not implemented.
long CountProcessWindows(DWORD processId) {
  ThreadWindows found{processId, 0};
  EnumWindows(
      [](HWND hwnd, LPARAM param) -> BOOL {
        auto* windows = reinterpret_cast<ThreadWindows*>(param);
        DWORD owner = 0;
        GetWindowThreadProcessId(hwnd, &owner);
        if (owner == windows->processId) {
          ++windows->count;
          EnumChildWindows(hwnd, CountWindow, reinterpret_cast<LPARAM>(&windows->count));
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&found));
  return found.count;
}

// What the process of a window holds: GDI and USER objects, kernel handles,
// private bytes and working set.
int Resources(const char* className) {
  HWND hwnd = FindTop(className);
  if (!hwnd) return 2;
  DWORD processId = 0;
  GetWindowThreadProcessId(hwnd, &processId);
  HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, processId);
  if (!process) return 3;
  SetLastError(0);
  long gdi = static_cast<long>(GetGuiResources(process, GR_GDIOBJECTS));
  long user = static_cast<long>(GetGuiResources(process, GR_USEROBJECTS));
  std::string source = "GetGuiResources";
  if (gdi == 0 && user == 0) {
    source = "handle table and windows";
    gdi = CountGdiTable(process);
    user = CountProcessWindows(processId);
  }
  PROCESS_MEMORY_COUNTERS_EX memory{};
  memory.cb = sizeof memory;
  GetProcessMemoryInfo(process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory), sizeof memory);
  DWORD handles = 0;
  GetProcessHandleCount(process, &handles);
  CloseHandle(process);
  Print("gdi=" + std::to_string(gdi) + "\nuser=" + std::to_string(user) + "\nhandles=" +
        std::to_string(handles) + "\nprivate=" + std::to_string(memory.PrivateUsage) +
        "\npagefile=" + std::to_string(memory.PagefileUsage) +
        "\nworking_set=" + std::to_string(memory.WorkingSetSize) + "\nsource=" + source + "\n");
  return 0;
}

int Usage() {
  Print(
      "usage: probe notepad-text | notepad-clear | foreground | window CLASS | workarea |\n"
      "       slider | set-slider N | set-client-size W H | move X Y | close [CLASS] |\n"
      "       keystate VK | activate CLASS | send CLASS MSG [WPARAM [LPARAM]] |\n"
      "       post CLASS MSG [WPARAM [LPARAM]] | message-box [ok] | dpi CLASS |\n"
      "       startup EXE CLASS X Y RRGGBB TIMEOUT_MS | windows CLASS |\n"
      "       resources CLASS | keys-down | text CLASS CHILDCLASS |\n"
      "       password-window [drawn | drawn-later]\n"
      "       (--hwnd N before the command: window N stands for its class)\n"
      "       probe serve: the commands from stdin, one a line (see Serve)\n");
  return 1;
}

int Run(int argc, char** argv) {
  forcedWindow = nullptr;
  if (argc >= 3 && std::string(argv[1]) == "--hwnd") {
    forcedWindow = reinterpret_cast<HWND>(static_cast<uintptr_t>(strtoull(argv[2], nullptr, 0)));
    argc -= 2;
    argv += 2;
  }
  if (argc < 2) return Usage();
  std::string command = argv[1];
  if (command == "notepad-text") return NotepadText();
  if (command == "notepad-clear") return NotepadClear();
  if (command == "text" && argc >= 4) return ChildText(argv[2], argv[3]);
  if (command == "password-window")
    return PasswordWindow(argc >= 3 && std::string(argv[2]) == "drawn",
                          argc >= 3 && std::string(argv[2]) == "drawn-later");
  if (command == "foreground") return Foreground();
  if (command == "window" && argc >= 3) return Window(argv[2]);
  if (command == "workarea") return WorkArea();
  if (command == "slider") return SliderInfo();
  if (command == "set-slider" && argc >= 3) return SetSlider(atoi(argv[2]));
  if (command == "set-client-size" && argc >= 4) return SetClientSize(atoi(argv[2]), atoi(argv[3]));
  if (command == "move" && argc >= 4) return MoveWindowTo(atoi(argv[2]), atoi(argv[3]));
  if (command == "close") return Close(argc >= 3 ? argv[2] : "TMainForm", 10000);
  if (command == "keystate" && argc >= 3) return KeyState(atoi(argv[2]));
  if (command == "activate" && argc >= 3) return Activate(argv[2]);
  if (command == "send" && argc >= 4)
    return Send(argv[2], static_cast<UINT>(strtoul(argv[3], nullptr, 0)),
                argc >= 5 ? static_cast<WPARAM>(strtoull(argv[4], nullptr, 0)) : 0,
                argc >= 6 ? static_cast<LPARAM>(strtoll(argv[5], nullptr, 0)) : 0);
  if (command == "post" && argc >= 4)
    return Post(argv[2], static_cast<UINT>(strtoul(argv[3], nullptr, 0)),
                argc >= 5 ? static_cast<WPARAM>(strtoull(argv[4], nullptr, 0)) : 0,
                argc >= 6 ? static_cast<LPARAM>(strtoll(argv[5], nullptr, 0)) : 0);
  if (command == "dpi" && argc >= 3) return Dpi(argv[2]);
  if (command == "keys-down") return KeysDown();
  if (command == "windows" && argc >= 3) return Windows(argv[2]);
  if (command == "resources" && argc >= 3) return Resources(argv[2]);
  if (command == "message-box") return MessageBoxInfo(argc >= 3 && std::string(argv[2]) == "ok");
  if (command == "startup" && argc >= 8)
    return Startup(argv[2], argv[3], atoi(argv[4]), atoi(argv[5]), argv[6], atoi(argv[7]));
  return Usage();
}

// "serve": one command a line on stdin, its arguments separated by tabs, each
// answered on stdout with "STATUS LENGTH\n" and LENGTH bytes of output, until
// stdin ends. One process serves a whole session: a Wine process takes a
// tenth of a second of CPU to start, and the tests poll several times a second.
int Serve() {
  _setmode(_fileno(stdin), _O_BINARY);
  for (;;) {
    std::string line;
    int c = 0;
    while ((c = fgetc(stdin)) != EOF && c != '\n') line.push_back(static_cast<char>(c));
    if (c == EOF && line.empty()) return 0;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    std::vector<std::string> words{"probe"};
    for (size_t start = 0;;) {
      const size_t tab = line.find('\t', start);
      words.push_back(line.substr(start, tab == std::string::npos ? tab : tab - start));
      if (tab == std::string::npos) break;
      start = tab + 1;
    }
    std::vector<char*> args;
    for (std::string& word : words) args.push_back(word.data());
    std::string output;
    reply = &output;
    const int status = Run(static_cast<int>(args.size()), args.data());
    reply = nullptr;
    const std::string header = std::to_string(status) + " " + std::to_string(output.size()) + "\n";
    fwrite(header.data(), 1, header.size(), stdout);
    fwrite(output.data(), 1, output.size(), stdout);
    fflush(stdout);
  }
}

}  // namespace

int main(int argc, char** argv) {
  _setmode(_fileno(stdout), _O_BINARY);
  if (argc == 2 && std::string(argv[1]) == "serve") return Serve();
  return Run(argc, argv);
}
