// The installer users download. Until the main window exists this entry point only proves
// that the executable carries its skin package: it exits with 0 when the resource is there.
#include <windows.h>

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    HRSRC skin = FindResourceW(instance, MAKEINTRESOURCEW(147), L"ZIPRES");
    return skin && SizeofResource(instance, skin) > 0 ? 0 : 1;
}
