#pragma once

#include "platform/win32/WindowsApi.h"

#include <string>

namespace platform::win32 {

// The game's texts are UTF-8; Windows' wide API takes UTF-16.
std::wstring Wide(const std::string& text);
std::string Narrow(const std::wstring& text);
// A window's text, as GetWindowText gives it.
std::wstring WindowText(HWND hwnd);

}  // namespace platform::win32
