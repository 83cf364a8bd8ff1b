// The stand-in chat client's automation object: an in-process server whose objects forward
// every call to the stand-in's window (see chat_standin.h).

#include <objbase.h>
#include <oleauto.h>
#include <olectl.h>
#include <windows.h>

#include <array>
#include <memory>
#include <string>

#include "chat_standin.h"
#include "win32/handles.h"

namespace {

using namespace chat_standin;

constexpr CLSID kApplicationClass = {
    0x830690FC, 0xBF2F, 0x47A6, {0xAC, 0x2D, 0x33, 0x0B, 0xCB, 0x40, 0x26, 0x64}};
constexpr IID kApplicationInterface = {
    0xB1878BFE, 0x53D3, 0x402E, {0x8C, 0x86, 0x19, 0x0B, 0x19, 0xAF, 0x70, 0xD5}};
constexpr IID kProfileInterface = {
    0xB9A3D72F, 0x04C1, 0x4878, {0x99, 0x3C, 0xD8, 0x9F, 0x83, 0xE2, 0x05, 0x69}};
constexpr wchar_t kClassKey[] = L"CLSID\\{830690FC-BF2F-47A6-AC2D-330BCB402664}";

// A method-table entry; the table is built by hand since only a few positions are known.
using Slot = void (*)();

template <typename Method>
Slot AsSlot(Method method) {
  return reinterpret_cast<Slot>(method);
}

// A class factory, application or profile object: its method table, then its state.
struct Object {
  const Slot* table;
  const IID& answers;  // the interface it answers to besides IUnknown
  Request release;     // the request its end sends the stand-in; Request{} for none
  LONG references = 1;
};

// One call on its way to the stand-in's window. Shared with the thread that sends it, which
// goes on with a call its caller gave up.
struct PendingCall {
  HWND standIn;
  Request request;
  RequestHeader header;
  std::wstring text;
  bool wantsReply;
  std::wstring reply;
  LRESULT answer = 0;
  bool answered = false;
};

void SendCall(PendingCall& call) {
  call.answered = Send(call.standIn, call.request, call.header, call.text, call.answer,
                       call.wantsReply ? &call.reply : nullptr);
}

DWORD WINAPI SendCallThread(void* parameter) {
  const std::unique_ptr<std::shared_ptr<PendingCall>> call(
      static_cast<std::shared_ptr<PendingCall>*>(parameter));
  SendCall(**call);
  return 0;
}

// A modal wait's call goes out on a thread of its own while the caller's messages run.
UniqueKernelHandle StartSending(const std::shared_ptr<PendingCall>& call) {
  auto shared = std::make_unique<std::shared_ptr<PendingCall>>(call);
  UniqueKernelHandle sender(::CreateThread(nullptr, 0, &SendCallThread, shared.get(), 0, nullptr));
  if (sender) static_cast<void>(shared.release());  // the thread owns it now
  return sender;
}

// A faulty component's modal wait: WM_QUIT is taken and not posted again.
void AwaitSwallowingQuit(HANDLE sender) {
  while (::MsgWaitForMultipleObjects(1, &sender, FALSE, INFINITE, QS_ALLINPUT) ==
         WAIT_OBJECT_0 + 1) {
    MSG message;
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      if (message.message == WM_QUIT) continue;
      ::TranslateMessage(&message);
      ::DispatchMessageW(&message);
    }
  }
  ::WaitForSingleObject(sender, INFINITE);
}

// The stand-in counts the calls that reach it. Until this one has (or its sender is done) no
// message runs, so no later call can overtake it, and a call given up is in the chat client's
// hands even if the caller's process ends next.
void AwaitArrival(HWND standIn, HANDLE sender, HANDLE arrivalsBefore) {
  const ULONGLONG deadline = ::GetTickCount64() + kTimeoutMilliseconds;
  while (::GetPropW(standIn, kArrivalsProperty) == arrivalsBefore &&
         ::WaitForSingleObject(sender, 1) == WAIT_TIMEOUT && ::GetTickCount64() < deadline) {
  }
}

// The usual modal wait: WM_QUIT ends it, posted again for the loop further out, and the call is
// given up. Messages come first, so a quit already queued gives up the call at once. False when
// the call was given up.
bool AwaitUnlessQuit(HANDLE sender) {
  for (;;) {
    MSG message;
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      if (message.message == WM_QUIT) {
        ::PostQuitMessage(static_cast<int>(message.wParam));
        return false;
      }
      ::TranslateMessage(&message);
      ::DispatchMessageW(&message);
    }
    const DWORD woken = ::MsgWaitForMultipleObjects(1, &sender, FALSE, INFINITE, QS_ALLINPUT);
    if (woken != WAIT_OBJECT_0 + 1) return woken == WAIT_OBJECT_0;
  }
}

// Sends the call in the way the stand-in asks for; false when the caller gave it up.
bool SendAsAsked(const std::shared_ptr<PendingCall>& call) {
  const bool swallow = ::GetPropW(call->standIn, kSwallowQuitProperty) != nullptr;
  const bool abandon = ::GetPropW(call->standIn, kAbandonOnQuitProperty) != nullptr;
  if (!swallow && !abandon) {
    SendCall(*call);
    return true;
  }
  const HANDLE arrivals = ::GetPropW(call->standIn, kArrivalsProperty);
  const UniqueKernelHandle sender = StartSending(call);
  if (!sender) return true;
  if (swallow) {
    AwaitSwallowingQuit(sender.get());
    return true;
  }
  AwaitArrival(call->standIn, sender.get(), arrivals);
  return AwaitUnlessQuit(sender.get());
}

HRESULT Forward(Request request, const Object* self, std::int32_t first = 0,
                std::int32_t second = 0, const std::wstring& text = {},
                std::wstring* reply = nullptr) {
  const HWND standIn = ::FindWindowW(L"tSkMainForm", nullptr);
  if (!standIn) return kNotRunning;
  const auto call =
      std::make_shared<PendingCall>(PendingCall{standIn, request, {}, text, reply != nullptr, {}});
  call->header.object = ToNumber(self);
  call->header.arguments[0] = first;
  call->header.arguments[1] = second;
  if (!SendAsAsked(call)) return kGivenUp;
  if (!call->answered) return kNotRunning;
  if (reply) *reply = call->reply;
  return static_cast<HRESULT>(call->answer);
}

ULONG STDMETHODCALLTYPE AddRef(Object* self) {
  return static_cast<ULONG>(::InterlockedIncrement(&self->references));
}

ULONG STDMETHODCALLTYPE Release(Object* self) {
  const LONG left = ::InterlockedDecrement(&self->references);
  if (left == 0) {
    if (self->release != Request{}) Forward(self->release, self);
    delete self;
  }
  return static_cast<ULONG>(left);
}

HRESULT STDMETHODCALLTYPE QueryInterface(Object* self, const IID& iid, void** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  if (iid != IID_IUnknown && iid != self->answers) return E_NOINTERFACE;
  AddRef(self);
  *out = self;
  return S_OK;
}

// Every position nobody calls. It takes only the object: calling it with arguments would
// unbalance a 32-bit stack, so it must stay uncalled.
HRESULT STDMETHODCALLTYPE NotImplemented(Object*) {
  return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE ReadMoodText(Object* self, BSTR* mood) {
  if (!mood) return E_POINTER;
  *mood = nullptr;
  std::wstring text;
  const HRESULT status = Forward(Request::ReadMood, self, 0, 0, {}, &text);
  // An empty text goes out as the null string, which COM allows and callers must take.
  if (SUCCEEDED(status) && !text.empty())
    *mood = ::SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
  return status;
}

HRESULT STDMETHODCALLTYPE WriteMoodText(Object* self, BSTR mood) {
  return Forward(Request::WriteMood, self, 0, 0, std::wstring(mood, ::SysStringLen(mood)));
}

const Slot* ProfileTable() {
  static const std::array<Slot, 50> table = [] {
    std::array<Slot, 50> slots;
    slots.fill(AsSlot(&NotImplemented));
    slots[0] = AsSlot(&QueryInterface);
    slots[1] = AsSlot(&AddRef);
    slots[2] = AsSlot(&Release);
    slots[48] = AsSlot(&ReadMoodText);
    slots[49] = AsSlot(&WriteMoodText);
    return slots;
  }();
  return table.data();
}

HRESULT STDMETHODCALLTYPE Connect(Object* self, LONG first, LONG second) {
  return Forward(Request::Connect, self, first, second);
}

HRESULT STDMETHODCALLTYPE ReadProfile(Object* self, Object** profile) {
  if (!profile) return E_POINTER;
  *profile = nullptr;
  const HRESULT status = Forward(Request::ReadProfile, self);
  if (SUCCEEDED(status))
    *profile = new Object{ProfileTable(), kProfileInterface, Request::ReleaseProfile};
  return status;
}

const Slot* ApplicationTable() {
  static const std::array<Slot, 67> table = [] {
    std::array<Slot, 67> slots;
    slots.fill(AsSlot(&NotImplemented));
    slots[0] = AsSlot(&QueryInterface);
    slots[1] = AsSlot(&AddRef);
    slots[2] = AsSlot(&Release);
    slots[33] = AsSlot(&Connect);
    slots[66] = AsSlot(&ReadProfile);
    return slots;
  }();
  return table.data();
}

// The stand-in decides whether the creation succeeds; without it, it fails.
HRESULT STDMETHODCALLTYPE CreateInstance(Object*, IUnknown* outer, const IID& iid, void** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  if (outer) return CLASS_E_NOAGGREGATION;
  if (iid != IID_IUnknown && iid != kApplicationInterface) return E_NOINTERFACE;
  auto* application =
      new Object{ApplicationTable(), kApplicationInterface, Request::ReleaseApplication};
  const HRESULT status = Forward(Request::Create, application);
  if (FAILED(status)) {
    delete application;
    return status;
  }
  *out = application;
  return S_OK;
}

HRESULT STDMETHODCALLTYPE LockServer(Object*, BOOL) {
  return S_OK;
}

const Slot* FactoryTable() {
  static const std::array<Slot, 5> table = {AsSlot(&QueryInterface), AsSlot(&AddRef),
                                            AsSlot(&Release), AsSlot(&CreateInstance),
                                            AsSlot(&LockServer)};
  return table.data();
}

std::wstring ModulePath() {
  HMODULE module = nullptr;
  ::GetModuleHandleExW(
      GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
      reinterpret_cast<LPCWSTR>(&ModulePath), &module);
  std::wstring path(MAX_PATH, L'\0');
  path.resize(::GetModuleFileNameW(module, path.data(), MAX_PATH));
  return path;
}

LSTATUS SetText(const std::wstring& key, const wchar_t* name, const std::wstring& text) {
  return ::RegSetKeyValueW(HKEY_CLASSES_ROOT, key.c_str(), name, REG_SZ, text.c_str(),
                           static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
}

}  // namespace

extern "C" {

HRESULT STDAPICALLTYPE DllGetClassObject(const CLSID& clsid, const IID& iid, void** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  if (clsid != kApplicationClass) return CLASS_E_CLASSNOTAVAILABLE;
  auto* factory = new Object{FactoryTable(), IID_IClassFactory, Request{}};
  const HRESULT status = QueryInterface(factory, iid, out);
  Release(factory);
  return status;
}

// Stays loaded for the process's life: nothing here counts the module's users.
HRESULT STDAPICALLTYPE DllCanUnloadNow() {
  return S_FALSE;
}

// Registers in the registry view of the calling process's bitness.
HRESULT STDAPICALLTYPE DllRegisterServer() {
  const std::wstring server = std::wstring(kClassKey) + L"\\InprocServer32";
  if (SetText(server, nullptr, ModulePath()) != ERROR_SUCCESS ||
      SetText(server, L"ThreadingModel", L"Apartment") != ERROR_SUCCESS) {
    return SELFREG_E_CLASS;
  }
  return S_OK;
}

HRESULT STDAPICALLTYPE DllUnregisterServer() {
  const LSTATUS status = ::RegDeleteTreeW(HKEY_CLASSES_ROOT, kClassKey);
  return status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND ? S_OK : SELFREG_E_CLASS;
}

}  // extern "C"
