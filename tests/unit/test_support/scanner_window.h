#pragma once
// The window's side of the photo scanner: the lists, their lock and a host for the failure box.
#include <cstddef>
#include <mutex>

#include "media/string_list.h"
#include "unit/test_support/scripted_ui_host.h"

struct ScannerWindow {
    StringList dirs;
    StringList photos;
    StringList music;
    std::mutex lock;
    ScriptedUiHost host;

    std::size_t PhotoCount()
    {
        const std::lock_guard guard(lock);
        return photos.size();
    }
};
