// What fontconfig and pango cache for the life of the process, and the quark block that GLib
// allocates while loading and abandons on purpose once GStreamer outgrows it, are not leaks of
// ours. Read by the sanitizers only.
extern "C" const char* __lsan_default_suppressions()
{
    return "leak:libfontconfig.so\n"
           "leak:_dl_init\n";
}

// GLib is built without frame pointers: the fast unwinder stops at g_malloc, and a leak from a
// library's load could not be told from one of ours.
extern "C" const char* __asan_default_options() { return "fast_unwind_on_malloc=0"; }

// Pango starts fontconfig on a thread of its own and waits for it through GLib's futex locks,
// which the thread sanitizer cannot see. GStreamer's streaming threads hand buffers and bus
// messages over through the same locks, and its plugins (in their own folder) with them.
extern "C" const char* __tsan_default_suppressions()
{
    return "race:libfontconfig.so\n"
           "race:libgstreamer-1.0.so\n"
           "race:libgstbase-1.0.so\n"
           "race:libgstaudio-1.0.so\n"
           "race:/gstreamer-1.0/\n"
           "deadlock:/gstreamer-1.0/\n";
}
