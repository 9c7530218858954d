#pragma once
// Owners for what the C libraries of the Linux layer hand out (GLib and the libraries built on
// it, cairo, the C library): every reference, string, error, loop, source and handle is released
// by one of these, never by hand.
#include <glib-object.h>
#include <glib.h>

#include <cstddef>
#include <memory>
#include <string>
#include <utility>

// Calls Release on the pointer it is given; the deleter of the owners below.
template <auto Release> struct ReleaseWith {
    template <typename T> void operator()(T* object) const { Release(object); }
};

// Sole owner of an object that Release frees, e.g. Owned<cairo_t, cairo_destroy>.
template <typename T, auto Release> using Owned = std::unique_ptr<T, ReleaseWith<Release>>;

// One full reference of a reference-counted object: a GObject by default, or any type whose
// unref and ref are given (GstObject's, so that GStreamer's own tracing sees them).
template <typename T, auto Unref = g_object_unref, auto Ref = g_object_ref> class ObjectRef {
public:
    ObjectRef() = default;
    ObjectRef(std::nullptr_t) {}

    // Takes over a full reference that the caller owned (what a _new function returns).
    static ObjectRef Adopt(T* object) { return ObjectRef(object); }
    // Takes a reference of its own to an object that someone else holds.
    static ObjectRef Share(T* object) { return ObjectRef(object ? static_cast<T*>(Ref(object)) : nullptr); }

    T* get() const { return m_Object.get(); }
    explicit operator bool() const { return m_Object != nullptr; }
    void reset() { m_Object.reset(); }

private:
    explicit ObjectRef(T* object) : m_Object(object) {}

    Owned<T, Unref> m_Object;
};

// A string that GLib allocated, freed with g_free.
class GlibString {
public:
    GlibString() = default;
    explicit GlibString(gchar* text) : m_Text(text) {}

    // Null when there is none.
    const char* c_str() const { return m_Text.get(); }
    // Empty when there is none.
    std::string str() const { return m_Text ? std::string(m_Text.get()) : std::string(); }
    explicit operator bool() const { return m_Text != nullptr; }

private:
    Owned<gchar, g_free> m_Text;
};

// The error a call reports through its GError** parameter, freed when done with.
class GlibError {
public:
    GlibError() = default;
    GlibError(const GlibError&) = delete;
    GlibError& operator=(const GlibError&) = delete;
    ~GlibError() { reset(); }

    // The slot to pass to the call; any error held before is freed.
    GError** Out()
    {
        reset();
        return &m_Error;
    }
    const GError* get() const { return m_Error; }
    explicit operator bool() const { return m_Error != nullptr; }
    // The error's message, or fallback when there is no error or it says nothing.
    std::string Message(const char* fallback) const
    {
        return m_Error && m_Error->message && *m_Error->message ? m_Error->message : fallback;
    }
    void reset()
    {
        if (m_Error) g_error_free(std::exchange(m_Error, nullptr));
    }

private:
    GError* m_Error = nullptr;
};

using MainLoopPtr = Owned<GMainLoop, g_main_loop_unref>;

// A new loop over the default main context, not yet running.
inline MainLoopPtr NewMainLoop() { return MainLoopPtr(g_main_loop_new(nullptr, FALSE)); }

// A source attached to a context: destroying the owner detaches it and drops the reference.
inline void DestroySource(GSource* source)
{
    g_source_destroy(source);
    g_source_unref(source);
}
using SourcePtr = Owned<GSource, DestroySource>;
