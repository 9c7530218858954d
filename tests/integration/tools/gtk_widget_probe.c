/* A GTK module for the integration tests (GTK_MODULES=/path/to/it.so): every 300 ms it writes
 * the controls of the program's visible windows to $TOVELIN_WIDGET_PROBE_OUT, one a line,
 * tab-separated: "WINDOW_TITLE NAME LEFT TOP WIDTH HEIGHT TEXT". A control is a child of the
 * window's fixed container named "client"; its name is its own or that of its first named
 * descendant, its place is in the client area, and its text that of its first label. */
#include <gtk/gtk.h>
#include <stdio.h>
#include <string.h>

static const char* OwnName(GtkWidget* widget)
{
    const char* name = gtk_widget_get_name(widget);
    return strcmp(name, G_OBJECT_TYPE_NAME(widget)) == 0 ? NULL : name;
}

static void FirstNamedAndLabel(GtkWidget* widget, const char** name, const char** text)
{
    if (!*name) *name = OwnName(widget);
    if (!*text && GTK_IS_LABEL(widget)) *text = gtk_label_get_text(GTK_LABEL(widget));
    if (GTK_IS_CONTAINER(widget)) {
        GList* children = gtk_container_get_children(GTK_CONTAINER(widget));
        for (GList* c = children; c; c = c->next) FirstNamedAndLabel(GTK_WIDGET(c->data), name, text);
        g_list_free(children);
    }
}

static GtkWidget* FindClient(GtkWidget* widget)
{
    if (GTK_IS_FIXED(widget) && g_strcmp0(OwnName(widget), "client") == 0) return widget;
    GtkWidget* found = NULL;
    if (GTK_IS_CONTAINER(widget)) {
        GList* children = gtk_container_get_children(GTK_CONTAINER(widget));
        for (GList* c = children; c && !found; c = c->next) found = FindClient(GTK_WIDGET(c->data));
        g_list_free(children);
    }
    return found;
}

static gboolean Dump(gpointer unused)
{
    const char* path = g_getenv("TOVELIN_WIDGET_PROBE_OUT");
    (void)unused;
    if (!path) return G_SOURCE_REMOVE;
    gchar* temporary = g_strconcat(path, ".new", NULL);
    FILE* out = fopen(temporary, "w");
    if (!out) {
        g_free(temporary);
        return G_SOURCE_CONTINUE;
    }
    GList* windows = gtk_window_list_toplevels();
    for (GList* w = windows; w; w = w->next) {
        GtkWidget* window = GTK_WIDGET(w->data);
        if (!gtk_widget_get_mapped(window)) continue;
        GtkWidget* client = FindClient(window);
        if (!client) continue;
        const char* title = gtk_window_get_title(GTK_WINDOW(window));
        GList* children = gtk_container_get_children(GTK_CONTAINER(client));
        for (GList* c = children; c; c = c->next) {
            GtkWidget* child = GTK_WIDGET(c->data);
            const char* name = NULL;
            const char* text = NULL;
            int x = 0, y = 0;
            FirstNamedAndLabel(child, &name, &text);
            gtk_widget_translate_coordinates(child, client, 0, 0, &x, &y);
            fprintf(out, "%s\t%s\t%d\t%d\t%d\t%d\t%s\n", title ? title : "", name ? name : "?", x, y,
                    gtk_widget_get_allocated_width(child), gtk_widget_get_allocated_height(child), text ? text : "");
        }
        g_list_free(children);
    }
    g_list_free(windows);
    fclose(out);
    rename(temporary, path);
    g_free(temporary);
    return G_SOURCE_CONTINUE;
}

G_MODULE_EXPORT void gtk_module_init(gint* argc, gchar*** argv)
{
    (void)argc;
    (void)argv;
    g_timeout_add(300, Dump, NULL);
}
