#include "win32/com_automation.h"

#include <objbase.h>
#include <oleauto.h>
#include <wrl/client.h>

#include <cstddef>

#include "win32/handles.h"

using Microsoft::WRL::ComPtr;

namespace {

// We have no header for the chat client's interfaces; we call the few methods we need by their
// position in the method table, counted from QueryInterface at 0.
template <typename... Args>
HRESULT CallMethod(IUnknown* object, std::size_t position, Args... args) {
  using Method = HRESULT(STDMETHODCALLTYPE*)(IUnknown*, Args...);
  Method* table = *reinterpret_cast<Method**>(object);
  return table[position](object, args...);
}

constexpr CLSID kApplicationClass = {
    0x830690FC, 0xBF2F, 0x47A6, {0xAC, 0x2D, 0x33, 0x0B, 0xCB, 0x40, 0x26, 0x64}};
constexpr IID kApplicationInterface = {
    0xB1878BFE, 0x53D3, 0x402E, {0x8C, 0x86, 0x19, 0x0B, 0x19, 0xAF, 0x70, 0xD5}};

constexpr std::size_t kConnectRequest = 33;
constexpr std::size_t kProfileRead = 66;
constexpr std::size_t kMoodTextRead = 48;
constexpr std::size_t kMoodTextWrite = 49;

class ComProfile final : public ChatProfile {
 public:
  explicit ComProfile(ComPtr<IUnknown> profile) : mProfile(std::move(profile)) {}

  bool ReadMoodText(std::wstring& text) override {
    UniqueBstr mood;
    if (FAILED(CallMethod(mProfile.Get(), kMoodTextRead, mood.put()))) return false;
    text.assign(mood.get(), ::SysStringLen(mood.get()));
    return true;
  }

  bool WriteMoodText(const std::wstring& text) override {
    UniqueBstr mood(::SysAllocStringLen(text.data(), static_cast<UINT>(text.size())));
    if (!mood) return false;
    return SUCCEEDED(CallMethod(mProfile.Get(), kMoodTextWrite, mood.get()));
  }

 private:
  ComPtr<IUnknown> mProfile;
};

class ComApplication final : public ChatApplication {
 public:
  explicit ComApplication(ComPtr<IUnknown> application) : mApplication(std::move(application)) {}

  bool Connect() override {
    return SUCCEEDED(CallMethod(mApplication.Get(), kConnectRequest, LONG{5}, LONG{-1}));
  }

  std::unique_ptr<ChatProfile> ReadProfile() override {
    ComPtr<IUnknown> profile;
    // The object handed out is already of the profile interface.
    if (FAILED(CallMethod(mApplication.Get(), kProfileRead, profile.GetAddressOf())) || !profile) {
      return nullptr;
    }
    return std::make_unique<ComProfile>(std::move(profile));
  }

 private:
  ComPtr<IUnknown> mApplication;
};

}  // namespace

std::unique_ptr<ChatApplication> ComAutomation::CreateApplication() {
  ComPtr<IUnknown> application;
  // In-process only: the component talks to the running client itself.
  if (FAILED(::CoCreateInstance(kApplicationClass, nullptr, CLSCTX_INPROC_SERVER,
                                kApplicationInterface,
                                reinterpret_cast<void**>(application.GetAddressOf()))) ||
      !application) {
    return nullptr;
  }
  return std::make_unique<ComApplication>(std::move(application));
}
