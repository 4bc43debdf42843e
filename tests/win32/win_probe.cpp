// Looks into a running Windows program from outside, for the checks that run it under Wine:
//   win_probe console EXE OUTPUT SECONDS
//     attaches to the console of the process named EXE and keeps writing its screen buffer to
//     OUTPUT (first line "screen buffer: W x H", then the text lines up to the cursor) until that
//     process ends or SECONDS pass; staying attached keeps the console readable after the
//     process has let go of it.
//   win_probe dialog CAPTION SECONDS
//     waits for a top-level window with that caption, prints the texts of its static controls,
//     one per line, then presses its OK button.
// clang-format off
#include <windows.h>
#include <tlhelp32.h>
// clang-format on

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

void print_usage(std::FILE* stream) {
    std::fprintf(stream, "usage: win_probe console EXE OUTPUT SECONDS\n"
                         "       win_probe dialog CAPTION SECONDS\n");
}

DWORD find_process(const char* exe_name) {
    const HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE) {
        return 0;
    }
    PROCESSENTRY32 entry{};
    entry.dwSize = sizeof(entry);
    DWORD found = 0;
    for (BOOL more = Process32First(snapshot, &entry); more && found == 0;
         more = Process32Next(snapshot, &entry)) {
        if (_stricmp(entry.szExeFile, exe_name) == 0) {
            found = entry.th32ProcessID;
        }
    }
    CloseHandle(snapshot);
    return found;
}

// Writes the screen buffer to path through a temporary file, so readers never see half of it.
bool dump_console(const std::string& path) {
    const HANDLE output =
        CreateFileA("CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                    nullptr, OPEN_EXISTING, 0, nullptr);
    if (output == INVALID_HANDLE_VALUE) {
        return false;
    }
    CONSOLE_SCREEN_BUFFER_INFO info;
    if (!GetConsoleScreenBufferInfo(output, &info)) {
        CloseHandle(output);
        return false;
    }
    std::string text = "screen buffer: " + std::to_string(info.dwSize.X) + " x " +
                       std::to_string(info.dwSize.Y) + "\n";
    std::string row(static_cast<std::size_t>(info.dwSize.X), ' ');
    for (SHORT y = 0; y <= info.dwCursorPosition.Y; ++y) {
        DWORD read = 0;
        ReadConsoleOutputCharacterA(output, row.data(), static_cast<DWORD>(row.size()), {0, y},
                                    &read);
        std::string line = row.substr(0, read);
        line.erase(line.find_last_not_of(' ') + 1);
        text += line + "\n";
    }
    CloseHandle(output);

    const std::string temporary = path + ".tmp";
    std::FILE* file = std::fopen(temporary.c_str(), "wb");
    if (file == nullptr) {
        return false;
    }
    const bool written = std::fwrite(text.data(), 1, text.size(), file) == text.size();
    if (std::fclose(file) != 0 || !written) {
        return false;
    }
    return MoveFileExA(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING) != 0;
}

int follow_console(const char* exe_name, const std::string& path, DWORD seconds) {
    const ULONGLONG deadline = GetTickCount64() + seconds * 1000ULL;
    FreeConsole();
    HANDLE process = nullptr;
    while (process == nullptr) {
        if (GetTickCount64() > deadline) {
            std::fprintf(stderr, "win_probe: no console of %s appeared\n", exe_name);
            return 1;
        }
        const DWORD id = find_process(exe_name);
        if (id != 0 && AttachConsole(id)) {
            process = OpenProcess(SYNCHRONIZE, FALSE, id);
        } else {
            Sleep(100);
        }
    }
    while (WaitForSingleObject(process, 250) == WAIT_TIMEOUT && GetTickCount64() < deadline) {
        dump_console(path);
    }
    dump_console(path);
    CloseHandle(process);
    return 0;
}

BOOL CALLBACK print_static_text(HWND child, LPARAM) {
    char class_name[32] = {};
    GetClassNameA(child, class_name, sizeof(class_name));
    if (_stricmp(class_name, "Static") == 0) {
        char text[512] = {};
        if (GetWindowTextA(child, text, sizeof(text)) > 0) {
            std::printf("%s\n", text);
        }
    }
    return TRUE;
}

int read_dialog(const char* caption, DWORD seconds) {
    const ULONGLONG deadline = GetTickCount64() + seconds * 1000ULL;
    HWND dialog = nullptr;
    while ((dialog = FindWindowA(nullptr, caption)) == nullptr) {
        if (GetTickCount64() > deadline) {
            std::fprintf(stderr, "win_probe: no window \"%s\" appeared\n", caption);
            return 1;
        }
        Sleep(100);
    }
    Sleep(200); // let the box finish laying out its controls
    EnumChildWindows(dialog, print_static_text, 0);
    std::fflush(stdout);
    PostMessageA(dialog, WM_COMMAND, IDOK, 0);
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc >= 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
        print_usage(stdout);
        return 0;
    }
    if (argc == 5 && std::strcmp(argv[1], "console") == 0) {
        return follow_console(argv[2], argv[3], static_cast<DWORD>(std::atoi(argv[4])));
    }
    if (argc == 4 && std::strcmp(argv[1], "dialog") == 0) {
        return read_dialog(argv[2], static_cast<DWORD>(std::atoi(argv[3])));
    }
    print_usage(stderr);
    return 2;
}
