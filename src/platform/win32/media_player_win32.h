#pragma once
// The Windows music player: one MCI device at a time, chosen by the system from the file's
// extension (mp3 and wma by the media device, mid by the sequencer).
#include <memory>

#include "platform/media_player.h"
#include "platform/message_box.h"

// A player whose completion notifications MCI posts (MM_MCINOTIFY, the flags in wParam) to
// notifyWindow, which the caller's UI thread owns.
std::unique_ptr<MediaPlayer> CreateMciMediaPlayer(NativeWindow notifyWindow);
