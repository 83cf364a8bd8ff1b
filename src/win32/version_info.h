#pragma once

#include <string>

// One text of this program's own version information (ProductName, FileDescription, ...), read
// afresh from its file; "" when it is missing.
std::wstring ReadOwnVersionString(const wchar_t* name);
