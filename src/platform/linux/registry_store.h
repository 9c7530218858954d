#pragma once
// The per-user file that stands in for the registry: $XDG_CONFIG_HOME/tovelin/registry.reg
// ($HOME/.config without XDG_CONFIG_HOME), looked up anew at each access. Every access holds an
// exclusive flock on registry.reg.lock beside it; a change re-reads the file under the lock and
// replaces it through a synced temporary file and a rename, so that concurrent programs never
// lose each other's writes and a crash leaves either the old or the new file.
#include <functional>
#include <optional>
#include <string>

#include "platform/linux/registry_document.h"

// Empty when neither XDG_CONFIG_HOME nor a home directory is known.
std::string RegistryStoreFilePath();

// The current content; a missing file is an empty store. Nothing when the file cannot be read.
// A file that does not parse is renamed aside (registry.reg.corrupt-<date>-<time>), reported
// through LogTrace and replaced by an empty store.
std::optional<RegistryDocument> LoadRegistryStore();

enum class StoreEdit { Unchanged, Changed, Refused };

// Runs edit on the current content and writes the result back when it reports a change.
// True when the edit went through (changed or not); false when it was refused or the store could
// not be read or replaced, the file then being left as it was. The edit may run more than once.
bool EditRegistryStore(const std::function<StoreEdit(RegistryDocument&)>& edit);
