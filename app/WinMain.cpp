#include "platform/win32/WindowsApi.h"

#include "app/Form1.h"
#include "platform/win32/Win32FrontEnd.h"
#include "scene/Form1Description.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show) {
  platform::win32::Win32FrontEnd frontEnd(scene::kProjectTitle, instance);
  Form1 form;
  return frontEnd.Run(form, show);
}
