#include "win32/registry.h"

#include "win32/handles.h"

bool Win32Registry::ReadValue(Hive hive, const wchar_t* key, const wchar_t* value,
                              std::array<std::uint8_t, 4>& buffer) const {
  const HKEY root = hive == Hive::LocalMachine ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER;
  buffer.fill(0);
  UniqueHkey opened;
  if (::RegOpenKeyExW(root, key, 0, KEY_READ, opened.put()) != ERROR_SUCCESS) return false;
  DWORD size = static_cast<DWORD>(buffer.size());
  return ::RegQueryValueExW(opened.get(), value, nullptr, nullptr, buffer.data(), &size) ==
         ERROR_SUCCESS;
}
