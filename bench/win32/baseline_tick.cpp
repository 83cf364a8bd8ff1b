#include "baseline_tick.h"

#include <oleauto.h>

#include <cstddef>

#include "win32/handles.h"

using Microsoft::WRL::ComPtr;

namespace {

constexpr CLSID kApplicationClass = {
    0x830690FC, 0xBF2F, 0x47A6, {0xAC, 0x2D, 0x33, 0x0B, 0xCB, 0x40, 0x26, 0x64}};
constexpr IID kApplicationInterface = {
    0xB1878BFE, 0x53D3, 0x402E, {0x8C, 0x86, 0x19, 0x0B, 0x19, 0xAF, 0x70, 0xD5}};

template <typename... Args>
HRESULT CallMethod(IUnknown* object, std::size_t position, Args... args) {
  using Method = HRESULT(STDMETHODCALLTYPE*)(IUnknown*, Args...);
  Method* table = *reinterpret_cast<Method**>(object);
  return table[position](object, args...);
}

constexpr wchar_t kChatClass[] = L"tSkMainForm";
constexpr wchar_t kPlayerClass[] = L"Winamp v1.x";
constexpr wchar_t kPolicyKey[] = L"SOFTWARE\\Policies\\Skype\\Phone";

void ReadCaption(HWND window) {
  wchar_t caption[512];
  const int length = ::GetWindowTextLengthW(window);
  if (length > 0 && length < 512) ::GetWindowTextW(window, caption, length + 1);
}

void FindAndReadPlayer() {
  const HWND player = ::FindWindowW(kPlayerClass, nullptr);
  if (player != nullptr) ReadCaption(player);
}

void ReadPolicy(HKEY hive) {
  UniqueHkey key;
  if (::RegOpenKeyExW(hive, kPolicyKey, 0, KEY_READ, key.put()) != ERROR_SUCCESS) return;
  BYTE value[4] = {};
  DWORD size = sizeof value;
  ::RegQueryValueExW(key.get(), L"DisableApi", nullptr, nullptr, value, &size);
}

}  // namespace

BaselineTick::BaselineTick() {
  if (FAILED(::CoCreateInstance(kApplicationClass, nullptr, CLSCTX_INPROC_SERVER,
                                kApplicationInterface,
                                reinterpret_cast<void**>(mApplication.GetAddressOf())))) {
    mApplication.Reset();
  }
}

void BaselineTick::Run() {
  // The tick: the chat client's window, then its mood through a fresh profile object.
  ::FindWindowW(kChatClass, nullptr);
  if (::FindWindowW(kChatClass, nullptr) != nullptr &&
      SUCCEEDED(CallMethod(mApplication.Get(), 33, LONG{5}, LONG{-1}))) {
    ComPtr<IUnknown> profile;
    if (SUCCEEDED(CallMethod(mApplication.Get(), 66, profile.GetAddressOf())) && profile) {
      UniqueBstr mood;
      CallMethod(profile.Get(), 48, mood.put());
    }
  }
  // The player: its window, then stopped, track and paused, each with its own look.
  if (::FindWindowW(kPlayerClass, nullptr) != nullptr) {
    FindAndReadPlayer();
    FindAndReadPlayer();
    FindAndReadPlayer();
  }
  // The report: the chat client's window, both policies, the player's window and caption, then
  // stopped, paused and track.
  ::FindWindowW(kChatClass, nullptr);
  ReadPolicy(HKEY_LOCAL_MACHINE);
  ReadPolicy(HKEY_CURRENT_USER);
  ReadCaption(::FindWindowW(kPlayerClass, nullptr));
  FindAndReadPlayer();
  FindAndReadPlayer();
  FindAndReadPlayer();
}
