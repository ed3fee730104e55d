/* The planted-DLL test's control: loads each named DLL the unsafe way, by bare name with the
 * default search order (the program's own folder first). Exit code: how many loaded. */
#include <windows.h>

int wmain(int argc, wchar_t** argv) {
    int loaded = 0;
    for (int i = 1; i < argc; ++i)
        if (LoadLibraryW(argv[i])) ++loaded;
    return loaded;
}
