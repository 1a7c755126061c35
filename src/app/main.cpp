#include <windows.h>

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int)
{
    MessageBoxW(nullptr, L"Kelvo Tidymate", L"Kelvo Tidymate", MB_OK);
    return 0;
}
