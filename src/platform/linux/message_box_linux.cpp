#include <gtk/gtk.h>

#include <cstdio>

#include "platform/linux/gtk_session.h"
#include "platform/linux/message_box_linux.h"
#include "platform/message_box.h"

namespace {

constexpr unsigned kButtonMask = 0xF;
constexpr unsigned kIconMask = 0xF0;

GtkMessageType MessageTypeFor(unsigned style)
{
    switch (style & kIconMask) {
    case mb::IconError: return GTK_MESSAGE_ERROR;
    case mb::IconQuestion: return GTK_MESSAGE_QUESTION;
    case mb::IconWarning: return GTK_MESSAGE_WARNING;
    case mb::IconInformation: return GTK_MESSAGE_INFO;
    default: return GTK_MESSAGE_OTHER;
    }
}

const char* IconNameFor(unsigned style)
{
    switch (style & kIconMask) {
    case mb::IconError: return "dialog-error";
    case mb::IconQuestion: return "dialog-question";
    case mb::IconWarning: return "dialog-warning";
    case mb::IconInformation: return "dialog-information";
    default: return nullptr;
    }
}

} // namespace

int AnswerOf(int response, unsigned style) { return response > 0 ? response : CancellingAnswer(style); }

GtkWidget* NewMessageDialog(const std::string& text, const std::string& caption, unsigned style, NativeWindow owner,
                            bool modal)
{
    // Errors also go to standard error, where Linux users and scripts look for them.
    if ((style & kIconMask) == mb::IconError) std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
    // Off GTK's thread the box is never shown: a worker asks the UI host, which shows it there.
    if (!EnsureGtkInitialized()) return nullptr;

    GtkWidget* dialog = gtk_message_dialog_new(static_cast<GtkWindow*>(owner), modal ? GTK_DIALOG_MODAL : GtkDialogFlags{},
                                               MessageTypeFor(style), GTK_BUTTONS_NONE, "%s", text.c_str());
    gtk_window_set_title(GTK_WINDOW(dialog), caption.c_str());
    if (const char* icon = IconNameFor(style)) {
        // GTK no longer shows the type's icon by itself; users expect it as on Windows.
        G_GNUC_BEGIN_IGNORE_DEPRECATIONS
        GtkWidget* image = gtk_image_new_from_icon_name(icon, GTK_ICON_SIZE_DIALOG);
        gtk_message_dialog_set_image(GTK_MESSAGE_DIALOG(dialog), image);
        gtk_widget_show(image);
        G_GNUC_END_IGNORE_DEPRECATIONS
    }
    gtk_window_set_position(GTK_WINDOW(dialog), GTK_WIN_POS_CENTER);
    gtk_window_set_keep_above(GTK_WINDOW(dialog), TRUE);

    int first = mb::IdOk;
    int second = 0;
    switch (style & kButtonMask) {
    case mb::OkCancel:
        gtk_dialog_add_button(GTK_DIALOG(dialog), "OK", mb::IdOk);
        gtk_dialog_add_button(GTK_DIALOG(dialog), "Cancel", mb::IdCancel);
        second = mb::IdCancel;
        break;
    case mb::YesNo:
        gtk_dialog_add_button(GTK_DIALOG(dialog), "Yes", mb::IdYes);
        gtk_dialog_add_button(GTK_DIALOG(dialog), "No", mb::IdNo);
        first = mb::IdYes;
        second = mb::IdNo;
        break;
    default:
        gtk_dialog_add_button(GTK_DIALOG(dialog), "OK", mb::IdOk);
        break;
    }
    gtk_dialog_set_default_response(GTK_DIALOG(dialog), (style & mb::DefButton2) && second ? second : first);
    return dialog;
}

int ShowMessageBox(const std::string& text, const std::string& caption, unsigned style, NativeWindow owner)
{
    GtkWidget* dialog = NewMessageDialog(text, caption, style, owner, true);
    if (!dialog) return CancellingAnswer(style);
    const int response = gtk_dialog_run(GTK_DIALOG(dialog));
    gtk_widget_destroy(dialog);
    // Gone from the screen at once; but no events are run here, or a click queued meanwhile would
    // run its handler before the caller has acted on the answer.
    gdk_display_flush(gdk_display_get_default());
    return AnswerOf(response, style);
}
