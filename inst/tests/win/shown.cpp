// A program for the command tests: writes how it was asked to show its
// window (the show command the shell passed) into "<its own path>.shown".
#include <windows.h>

#include <cstdio>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int show) {
    char path[MAX_PATH] = {}, partial[MAX_PATH + 8], done[MAX_PATH + 8];
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::snprintf(partial, sizeof partial, "%s.part", path);
    std::snprintf(done, sizeof done, "%s.shown", path);
    char text[16];
    std::snprintf(text, sizeof text, "%d", show);
    HANDLE file = CreateFileA(partial, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return 1;
    DWORD written = 0;
    WriteFile(file, text, DWORD(lstrlenA(text)), &written, nullptr);
    CloseHandle(file);
    // The finished file appears whole, so a reader never sees it half written.
    return MoveFileA(partial, done) ? 0 : 1;
}
