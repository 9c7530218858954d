#pragma once
// A library loaded at run time, unloaded when the object goes.
#include "platform/win32/windows_header.h"

class LoadedLibrary {
public:
    explicit LoadedLibrary(const char* name) : m_Module(LoadLibraryA(name)) {}
    ~LoadedLibrary()
    {
        if (m_Module) FreeLibrary(m_Module);
    }
    LoadedLibrary(const LoadedLibrary&) = delete;
    LoadedLibrary& operator=(const LoadedLibrary&) = delete;

    explicit operator bool() const { return m_Module != nullptr; }

    template <typename Function>
    Function Find(const char* exportName) const
    {
        return m_Module ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(m_Module, exportName)))
                        : nullptr;
    }

private:
    HMODULE m_Module;
};
