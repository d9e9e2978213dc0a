#include "win32/AccessiblePassword.h"

#include <oleacc.h>

namespace luma::win32 {

namespace {

// The few parts of the UI Automation client that the MinGW headers lack, in
// the order of the system's tables up to the last method called here.
constexpr CLSID kAutomationClass = {
    0xff48dba4, 0x60ef, 0x4201, {0xaa, 0x87, 0x54, 0x10, 0x3e, 0xef, 0x59, 0x4e}};
constexpr IID kAutomationInterface = {
    0x30cbe57d, 0xd9d0, 0x452a, {0xab, 0x13, 0x7a, 0xc5, 0xac, 0x48, 0x25, 0xee}};
constexpr int kIsPasswordProperty = 30019;

struct AutomationElement : IUnknown {
  virtual HRESULT STDMETHODCALLTYPE SetFocus() = 0;
  virtual HRESULT STDMETHODCALLTYPE GetRuntimeId(void**) = 0;
  virtual HRESULT STDMETHODCALLTYPE FindFirst(int, void*, void**) = 0;
  virtual HRESULT STDMETHODCALLTYPE FindAll(int, void*, void**) = 0;
  virtual HRESULT STDMETHODCALLTYPE FindFirstBuildCache(int, void*, void*, void**) = 0;
  virtual HRESULT STDMETHODCALLTYPE FindAllBuildCache(int, void*, void*, void**) = 0;
  virtual HRESULT STDMETHODCALLTYPE BuildUpdatedCache(void*, void**) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetCurrentPropertyValue(int property, VARIANT* value) = 0;
};

struct Automation : IUnknown {
  virtual HRESULT STDMETHODCALLTYPE CompareElements(void*, void*, BOOL*) = 0;
  virtual HRESULT STDMETHODCALLTYPE CompareRuntimeIds(void*, void*, BOOL*) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetRootElement(AutomationElement**) = 0;
  virtual HRESULT STDMETHODCALLTYPE ElementFromHandle(HWND window, AutomationElement** element) = 0;
  virtual HRESULT STDMETHODCALLTYPE ElementFromPoint(POINT, AutomationElement**) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetFocusedElement(AutomationElement** element) = 0;
};

// Owns one reference of a COM object.
template <class T>
class Held {
 public:
  Held() = default;
  ~Held() {
    if (object_) object_->Release();
  }
  Held(const Held&) = delete;
  Held& operator=(const Held&) = delete;
  T* operator->() const { return object_; }
  T& operator*() const { return *object_; }
  explicit operator bool() const { return object_ != nullptr; }
  T** Out() { return &object_; }
  void** OutVoid() { return reinterpret_cast<void**>(&object_); }

 private:
  T* object_ = nullptr;
};

class Variant {
 public:
  Variant() { VariantInit(&value_); }
  ~Variant() { VariantClear(&value_); }
  Variant(const Variant&) = delete;
  Variant& operator=(const Variant&) = delete;
  VARIANT* Out() { return &value_; }
  const VARIANT& operator*() const { return value_; }

 private:
  VARIANT value_;
};

enum class Said { Yes, No, Nothing };

Said ElementSays(AutomationElement& element) {
  Variant value;
  if (FAILED(element.GetCurrentPropertyValue(kIsPasswordProperty, value.Out())) ||
      (*value).vt != VT_BOOL)
    return Said::Nothing;
  return (*value).boolVal != VARIANT_FALSE ? Said::Yes : Said::No;
}

// The system's focused element, which inside a browser is the page's field,
// not the window; the window's own element where that cannot be had.
Said AutomationSays(HWND focus) {
  Held<Automation> automation;
  if (FAILED(CoCreateInstance(kAutomationClass, nullptr, CLSCTX_INPROC_SERVER, kAutomationInterface,
                              automation.OutVoid())))
    return Said::Nothing;
  Held<AutomationElement> element;
  if (SUCCEEDED(automation->GetFocusedElement(element.Out())) && element) {
    if (const Said said = ElementSays(*element); said != Said::Nothing) return said;
  }
  Held<AutomationElement> window;
  if (SUCCEEDED(automation->ElementFromHandle(focus, window.Out())) && window)
    return ElementSays(*window);
  return Said::Nothing;
}

// The older accessibility of the control itself: a password field is
// "protected".
bool AccessibleObjectSays(HWND focus) {
  Held<IAccessible> object;
  if (FAILED(AccessibleObjectFromWindow(focus, static_cast<DWORD>(OBJID_CLIENT),
                                        __uuidof(IAccessible), object.OutVoid())) ||
      !object)
    return false;
  Variant self;
  self.Out()->vt = VT_I4;
  self.Out()->lVal = CHILDID_SELF;
  Variant state;
  return SUCCEEDED(object->get_accState(*self, state.Out())) && (*state).vt == VT_I4 &&
         ((*state).lVal & STATE_SYSTEM_PROTECTED) != 0;
}

}  // namespace

bool AccessibilitySaysPassword(HWND focus) {
  if (!focus || !IsWindow(focus)) return false;
  if (const Said said = AutomationSays(focus); said != Said::Nothing) return said == Said::Yes;
  return AccessibleObjectSays(focus);
}

PasswordQuestions::PasswordQuestions(HWND window, UINT message)
    : shared_(std::make_shared<Shared>()) {
  shared_->window = window;
  shared_->message = message;
}

PasswordQuestions::~PasswordQuestions() {
  {
    std::lock_guard lock(shared_->mutex);
    shared_->window = nullptr;
  }
  shared_->wake.notify_one();
}

void PasswordQuestions::Ask(HWND focus, std::uint32_t question) {
  {
    std::lock_guard lock(shared_->mutex);
    shared_->focus = focus;
    shared_->question = question;
    shared_->waiting = true;
  }
  shared_->wake.notify_one();
  if (started_) return;
  started_ = true;
  std::thread(Answer, shared_).detach();
}

// The thread keeps the shared part alive: a call that hangs in the other
// program holds up neither the window nor the keyboard's closing.
void PasswordQuestions::Answer(std::shared_ptr<Shared> shared) {
  const bool comReady = SUCCEEDED(CoInitializeEx(nullptr, COINIT_MULTITHREADED));
  std::unique_lock lock(shared->mutex);
  for (;;) {
    shared->wake.wait(lock, [&] { return shared->waiting || !shared->window; });
    if (!shared->window) break;
    const HWND focus = shared->focus;
    const std::uint32_t question = shared->question;
    shared->waiting = false;
    lock.unlock();
    const bool password = comReady && AccessibilitySaysPassword(focus);
    lock.lock();
    if (shared->window) PostMessageW(shared->window, shared->message, question, password ? 1 : 0);
  }
  lock.unlock();
  if (comReady) CoUninitialize();
}

}  // namespace luma::win32
