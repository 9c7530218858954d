#include "platform/linux/gtk_widgets.h"

#include <set>

namespace {

constexpr Pixel kTransparentKey = MakePixel(255, 0, 255);

} // namespace

ObjectRef<GdkPixbuf> PixbufFromBitmap(const Bitmap& bitmap)
{
    if (bitmap.IsEmpty()) return nullptr;
    auto pixbuf = ObjectRef<GdkPixbuf>::Adopt(gdk_pixbuf_new(GDK_COLORSPACE_RGB, TRUE, 8, bitmap.Width(), bitmap.Height()));
    if (!pixbuf) return nullptr;
    guchar* pixels = gdk_pixbuf_get_pixels(pixbuf.get());
    const int stride = gdk_pixbuf_get_rowstride(pixbuf.get());
    for (int y = 0; y < bitmap.Height(); ++y) {
        const Pixel* source = bitmap.Row(y);
        guchar* target = pixels + static_cast<std::ptrdiff_t>(y) * stride;
        for (int x = 0; x < bitmap.Width(); ++x, target += 4) {
            const Pixel pixel = source[x] & 0x00FFFFFF;
            target[0] = static_cast<guchar>(pixel >> 16);
            target[1] = static_cast<guchar>(pixel >> 8);
            target[2] = static_cast<guchar>(pixel);
            target[3] = pixel == kTransparentKey ? 0 : 255;
        }
    }
    return pixbuf;
}

void AddScreenStyleSheet(const char* css)
{
    // Each sheet once per process, however many windows are built.
    static std::set<const char*> added;
    if (!added.insert(css).second) return;
    GdkScreen* screen = gdk_screen_get_default();
    if (!screen) return;
    const auto provider = ObjectRef<GtkCssProvider>::Adopt(gtk_css_provider_new());
    gtk_css_provider_load_from_data(provider.get(), css, -1, nullptr);
    gtk_style_context_add_provider_for_screen(screen, GTK_STYLE_PROVIDER(provider.get()),
                                              GTK_STYLE_PROVIDER_PRIORITY_APPLICATION);
}

void SetWidgetStyleSheet(GtkWidget* widget, ObjectRef<GtkCssProvider>& provider, const std::string& css)
{
    GtkStyleContext* context = gtk_widget_get_style_context(widget);
    if (provider) gtk_style_context_remove_provider(context, GTK_STYLE_PROVIDER(provider.get()));
    provider = ObjectRef<GtkCssProvider>::Adopt(gtk_css_provider_new());
    gtk_css_provider_load_from_data(provider.get(), css.c_str(), -1, nullptr);
    gtk_style_context_add_provider(context, GTK_STYLE_PROVIDER(provider.get()), GTK_STYLE_PROVIDER_PRIORITY_USER);
}

void UnderlineLabel(GtkWidget* label)
{
    const Owned<PangoAttrList, pango_attr_list_unref> attributes(pango_attr_list_new());
    pango_attr_list_insert(attributes.get(), pango_attr_underline_new(PANGO_UNDERLINE_SINGLE));
    gtk_label_set_attributes(GTK_LABEL(label), attributes.get());
}

GtkWidget* NewLabel(const char* text, TextAlign align, const char* name)
{
    GtkWidget* label = gtk_label_new(text);
    gtk_widget_set_name(label, name);
    gtk_label_set_xalign(GTK_LABEL(label), align == TextAlign::Left ? 0.0f : align == TextAlign::Centre ? 0.5f : 1.0f);
    gtk_label_set_yalign(GTK_LABEL(label), 0);
    return label;
}
