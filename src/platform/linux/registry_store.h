#pragma once
// The per-user file that stands in for the registry: $XDG_CONFIG_HOME/tovelin/registry.reg
// ($HOME/.config without XDG_CONFIG_HOME), looked up anew at each access. Readers only open and
// read it. Writers hold an exclusive flock on registry.reg.lock beside it, re-read the file under
// the lock and replace it through a synced temporary file and a rename, so that concurrent
// programs never lose each other's writes and a crash leaves either the old or the new file. A
// store that is a symbolic link keeps the link: the file it points to is replaced.
#include <functional>
#include <optional>
#include <string>

#include "platform/linux/registry_document.h"

// Empty when neither XDG_CONFIG_HOME nor a home directory is known.
std::string RegistryStoreFilePath();

// The current content, without taking the lock: a missing file is an empty store, and lines that
// do not parse are left out. Nothing (with a trace line naming the file and the reason) when the
// file cannot be read or is not a regular file.
std::optional<RegistryDocument> LoadRegistryStore();

enum class StoreEdit { Unchanged, Changed, Refused };

// Under the lock, runs edit on the current content and writes the result back when it reports a
// change. Before a file with unparsable lines is first rewritten, it is kept aside as
// registry.reg.corrupt-<date>-<time> and a trace line names its first bad line. Returns the
// content as it now stands; nothing when the edit was refused or the store could not be read or
// replaced (a trace line then gives the system's reason), the file being left as it was.
std::optional<RegistryDocument> EditRegistryStore(const std::function<StoreEdit(RegistryDocument&)>& edit);
