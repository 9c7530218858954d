#pragma once
// What the OS keeps about the calling thread: its scheduling priority and its name.
#include <string>

// One step above normal. Where the OS refuses (an unprivileged Linux thread may not lower its
// nice value) the priority stays as it was.
void RaiseCurrentThreadPriority();

// The name that debuggers and system tools show. Linux keeps the first 15 bytes.
void NameCurrentThread(const std::string& name);
