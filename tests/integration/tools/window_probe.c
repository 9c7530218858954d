/* Windows helper for the integration tests, run under Wine beside the program.
 *   window_probe where CAPTION [CONTROL] : waits for the visible top-level window CAPTION and
 *       prints "X Y LEFT TOP WIDTH HEIGHT": the centre and the screen rectangle of its control
 *       (=TEXT exact text, *TEXT text containing, class:NAME window class), or of its client
 *       area without one.
 *   window_probe controls CAPTION : waits for the visible top-level window CAPTION and prints
 *       each of its child windows as "CLASS LEFT TOP WIDTH HEIGHT TEXT" (tab-separated, the
 *       place in the window's client area), one a line.
 *   window_probe browse PATH : waits for the folder browser, prints the texts of its labels one
 *       a line, selects PATH in its tree and presses OK (Cancel when it cannot be selected).
 * Waits are bounded (WINDOW_PROBE_WAIT_MS, 10 s by default); a missing window ends with status 1. */
#include <shlobj.h>
#include <commctrl.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <windows.h>

static DWORD WaitMs(void)
{
    const char* wait = getenv("WINDOW_PROBE_WAIT_MS");
    return wait ? (DWORD)atoi(wait) : 10000;
}

static const char* g_caption;
static const char* g_control;
static HWND g_found;

static BOOL CALLBACK FindTopLevel(HWND window, LPARAM unused)
{
    char text[512] = "";
    (void)unused;
    if (!IsWindowVisible(window)) return TRUE;
    GetWindowTextA(window, text, sizeof text);
    if (strcmp(text, g_caption) != 0) return TRUE;
    g_found = window;
    return FALSE;
}

static BOOL CALLBACK FindControl(HWND window, LPARAM unused)
{
    char text[512] = "";
    (void)unused;
    if (strncmp(g_control, "class:", 6) == 0) {
        GetClassNameA(window, text, sizeof text);
        if (_stricmp(text, g_control + 6) != 0) return TRUE;
    } else {
        GetWindowTextA(window, text, sizeof text);
        if (g_control[0] == '*' ? !strstr(text, g_control + 1) : strcmp(text, g_control + (g_control[0] == '=')))
            return TRUE;
    }
    g_found = window;
    return FALSE;
}

static HWND WaitForWindow(const char* caption)
{
    DWORD start = GetTickCount();
    g_caption = caption;
    for (;;) {
        g_found = NULL;
        EnumWindows(FindTopLevel, 0);
        if (g_found) return g_found;
        if (GetTickCount() - start > WaitMs()) return NULL;
        Sleep(50);
    }
}

static void PrintRect(RECT r)
{
    printf("%ld %ld %ld %ld %ld %ld\n", (r.left + r.right) / 2, (r.top + r.bottom) / 2, r.left, r.top,
           r.right - r.left, r.bottom - r.top);
}

static int Where(const char* caption, const char* control)
{
    HWND window = WaitForWindow(caption);
    RECT r;
    if (!window) {
        fprintf(stderr, "no window '%s'\n", caption);
        return 1;
    }
    if (!control) {
        POINT origin = {0, 0};
        GetClientRect(window, &r);
        ClientToScreen(window, &origin);
        OffsetRect(&r, origin.x, origin.y);
        PrintRect(r);
        return 0;
    }
    g_control = control;
    g_found = NULL;
    EnumChildWindows(window, FindControl, 0);
    if (!g_found) {
        fprintf(stderr, "no control '%s' in '%s'\n", control, caption);
        return 1;
    }
    GetWindowRect(g_found, &r);
    PrintRect(r);
    return 0;
}

static BOOL CALLBACK PrintControl(HWND control, LPARAM parent)
{
    char name[64] = "", text[512] = "";
    RECT r;
    GetClassNameA(control, name, sizeof name);
    GetWindowTextA(control, text, sizeof text);
    GetWindowRect(control, &r);
    MapWindowPoints(NULL, (HWND)parent, (POINT*)&r, 2);
    printf("%s\t%ld\t%ld\t%ld\t%ld\t%s\n", name, r.left, r.top, r.right - r.left, r.bottom - r.top, text);
    return TRUE;
}

static int Controls(const char* caption)
{
    HWND window = WaitForWindow(caption);
    if (!window) {
        fprintf(stderr, "no window '%s'\n", caption);
        return 1;
    }
    EnumChildWindows(window, PrintControl, (LPARAM)window);
    return 0;
}

static BOOL CALLBACK FindTree(HWND window, LPARAM found)
{
    char name[64] = "";
    GetClassNameA(window, name, sizeof name);
    if (strcmp(name, "SysTreeView32") != 0) return TRUE;
    *(HWND*)found = window;
    return FALSE;
}

static BOOL CALLBACK FindBrowser(HWND window, LPARAM unused)
{
    char name[64] = "";
    HWND tree = NULL;
    (void)unused;
    GetClassNameA(window, name, sizeof name);
    if (strcmp(name, "#32770") != 0 || !IsWindowVisible(window)) return TRUE;
    EnumChildWindows(window, FindTree, (LPARAM)&tree);
    if (!tree) return TRUE;
    g_found = window;
    return FALSE;
}

static BOOL CALLBACK PrintLabel(HWND window, LPARAM unused)
{
    char name[64] = "", text[512] = "";
    (void)unused;
    GetClassNameA(window, name, sizeof name);
    if (_stricmp(name, "Static") != 0) return TRUE;
    GetWindowTextA(window, text, sizeof text);
    if (text[0]) printf("%s\n", text);
    return TRUE;
}

/* The text of the tree's selected item, read in the browser's own process through scratch. */
static BOOL SelectedText(HANDLE target, HWND tree, char* scratch, char* text, int size)
{
    TVITEMA item;
    memset(&item, 0, sizeof item);
    item.mask = TVIF_TEXT;
    item.hItem = (HTREEITEM)SendMessageA(tree, TVM_GETNEXTITEM, TVGN_CARET, 0);
    item.pszText = scratch + sizeof item;
    item.cchTextMax = size;
    text[0] = '\0';
    return item.hItem && WriteProcessMemory(target, scratch, &item, sizeof item, NULL) &&
           SendMessageA(tree, TVM_GETITEMA, 0, (LPARAM)scratch) &&
           ReadProcessMemory(target, scratch + sizeof item, text, (SIZE_T)size, NULL);
}

static int Browse(const char* path)
{
    DWORD start = GetTickCount(), process = 0;
    HWND tree = NULL;
    HANDLE target;
    char *remote, *scratch, text[MAX_PATH] = "";
    const char* last = strrchr(path, '\\') ? strrchr(path, '\\') + 1 : path;
    SIZE_T size = strlen(path) + 1;
    int tries;
    for (g_found = NULL; EnumWindows(FindBrowser, 0), !g_found; Sleep(50)) {
        if (GetTickCount() - start > WaitMs()) {
            fprintf(stderr, "no folder browser\n");
            return 1;
        }
    }
    EnumChildWindows(g_found, PrintLabel, 0);
    EnumChildWindows(g_found, FindTree, (LPARAM)&tree);
    /* The browser reads the path, and the tree its item, in their own process. */
    GetWindowThreadProcessId(g_found, &process);
    target = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, process);
    if (!target) return 1;
    remote = VirtualAllocEx(target, NULL, 4096, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    scratch = remote + 1024;
    if (!remote || size > 1024 || !WriteProcessMemory(target, remote, path, size, NULL)) {
        CloseHandle(target);
        return 1;
    }
    /* The browser may still be filling its tree: select again until the path's last folder is
     * the selected item. */
    for (tries = 0; tries < 150; ++tries) {
        SendMessageA(g_found, BFFM_SETSELECTIONA, TRUE, (LPARAM)remote);
        if (SelectedText(target, tree, scratch, text, sizeof text) && _stricmp(text, last) == 0) break;
        Sleep(100);
    }
    if (tries == 150) fprintf(stderr, "the browser selects '%s', not '%s'\n", text, last);
    /* A browser that never took the path is cancelled, so that nothing else is added. */
    PostMessageA(g_found, WM_COMMAND, tries == 150 ? IDCANCEL : IDOK, 0);
    VirtualFreeEx(target, remote, 0, MEM_RELEASE);
    CloseHandle(target);
    return tries == 150;
}

int main(int argc, char** argv)
{
    setvbuf(stdout, NULL, _IONBF, 0);
    if (argc >= 3 && strcmp(argv[1], "where") == 0) return Where(argv[2], argc > 3 ? argv[3] : NULL);
    if (argc == 3 && strcmp(argv[1], "browse") == 0) return Browse(argv[2]);
    if (argc == 3 && strcmp(argv[1], "controls") == 0) return Controls(argv[2]);
    fprintf(stderr, "usage: window_probe where CAPTION [CONTROL] | controls CAPTION | browse PATH\n");
    return 2;
}
