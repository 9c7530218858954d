#include "platform/foreign_window_host.h"

// Windows runs a saver in a window of its own ("/s"); the entry point never asks for this.
std::unique_ptr<UiHost> CreateForeignWindowHost(std::optional<std::uint64_t>) { return nullptr; }
