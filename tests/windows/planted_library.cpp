// A library planted beside the launcher under the names of DLLs a program
// might load. Loaded, it leaves NAME.loaded in PLANTED_MARKER_DIR.
#include <windows.h>

#include <string>

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID)
{
    if (reason != DLL_PROCESS_ATTACH) return TRUE;
    char directory[MAX_PATH] = {};
    char path[MAX_PATH] = {};
    if (GetEnvironmentVariableA("PLANTED_MARKER_DIR", directory, MAX_PATH) == 0) return TRUE;
    GetModuleFileNameA(instance, path, MAX_PATH - 1);
    std::string name = path;
    name = name.substr(name.find_last_of('\\') + 1);
    const HANDLE marker = CreateFileA((std::string(directory) + "\\" + name + ".loaded").c_str(), GENERIC_WRITE, 0,
                                      nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (marker != INVALID_HANDLE_VALUE) CloseHandle(marker);
    return TRUE;
}
