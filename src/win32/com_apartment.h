#pragma once

#include <objbase.h>

// This thread's single-threaded apartment, for as long as the object lives: the chat client's
// object lives in it, and so do the objects that other processes hand in. S_FALSE (already
// initialised) also needs the matching uninitialise.
class ComApartment {
 public:
  ComApartment() : mInitialised(SUCCEEDED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
  ~ComApartment() {
    if (mInitialised) ::CoUninitialize();
  }
  ComApartment(const ComApartment&) = delete;
  ComApartment& operator=(const ComApartment&) = delete;

 private:
  bool mInitialised;
};
