// Keeps Wine's background processes running between test programs: a hidden window that waits.
#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  // Wine starts its desktop process with the first program that asks for the desktop window, and
  // that process keeps the program's output open: this program asks first, its output is nobody's.
  GetDesktopWindow();
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
  return 0;
}
