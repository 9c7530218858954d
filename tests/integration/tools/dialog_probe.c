/* Windows helper for the integration tests, run under Wine beside the program: waits for a
 * message box with the given caption, prints its text and answers it with OK. */
#include <stdio.h>
#include <stdlib.h>
#include <windows.h>

int main(int argc, char** argv)
{
    if (argc < 2) {
        fprintf(stderr, "usage: dialog_probe CAPTION [TIMEOUT_MS]\n");
        return 2;
    }
    const DWORD timeout = argc > 2 ? (DWORD)atoi(argv[2]) : 20000;
    const DWORD start = GetTickCount();
    HWND box = NULL;
    while (!(box = FindWindowA("#32770", argv[1]))) {
        if (GetTickCount() - start > timeout) {
            fprintf(stderr, "no box captioned '%s'\n", argv[1]);
            return 1;
        }
        Sleep(50);
    }
    char text[4096] = "";
    GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
    printf("%s\n", text);
    fflush(stdout);
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    return 0;
}
