#pragma once
#include <string>

#include "platform/message_box.h"

typedef struct _GtkWidget GtkWidget;

// The box's answer for a response of its dialog: its button's id, or the cancelling answer when it
// was closed some other way.
int AnswerOf(int response, unsigned style);

// A message box as a dialog not yet shown, whose responses are the box's button ids; modal, it
// blocks the input of every other window. Null without a display (an error's text still goes to
// standard error).
GtkWidget* NewMessageDialog(const std::string& text, const std::string& caption, unsigned style, NativeWindow owner,
                            bool modal);
