// The owners of GLib references, strings, errors and sources: each releases exactly what it holds.
#include "platform/linux/glib_owners.h"

#include <gtest/gtest.h>

#include <utility>

namespace {

// A plain GObject that reports when it is finalized.
struct Watched {
    GObject* object = G_OBJECT(g_object_new(G_TYPE_OBJECT, nullptr));
    bool finalized = false;
    Watched()
    {
        g_object_weak_ref(object, [](gpointer self, GObject*) { static_cast<Watched*>(self)->finalized = true; }, this);
    }
    guint Count() const { return g_atomic_int_get(&object->ref_count); }
};

} // namespace

TEST(GlibOwners, AdoptTakesTheReferenceAndShareAddsOne)
{
    Watched watched;
    {
        const auto shared = ObjectRef<GObject>::Share(watched.object);
        EXPECT_EQ(watched.Count(), 2u);
        auto adopted = ObjectRef<GObject>::Adopt(watched.object);
        EXPECT_EQ(watched.Count(), 2u);
        const ObjectRef<GObject> moved = std::move(adopted);
        EXPECT_FALSE(adopted);
        EXPECT_EQ(moved.get(), watched.object);
        EXPECT_EQ(watched.Count(), 2u);
    }
    EXPECT_TRUE(watched.finalized);
    EXPECT_FALSE(ObjectRef<GObject>::Share(nullptr));
}

TEST(GlibOwners, AStringReadsAsTextAndNoneAsEmpty)
{
    const GlibString text(g_strdup("photo"));
    EXPECT_STREQ(text.c_str(), "photo");
    EXPECT_EQ(text.str(), "photo");
    const GlibString none;
    EXPECT_FALSE(none);
    EXPECT_EQ(none.c_str(), nullptr);
    EXPECT_EQ(none.str(), "");
}

TEST(GlibOwners, AnErrorGivesItsMessageOrTheFallback)
{
    GlibError error;
    EXPECT_EQ(error.Message("none"), "none");
    g_set_error(error.Out(), G_FILE_ERROR, G_FILE_ERROR_NOENT, "first");
    EXPECT_EQ(error.Message("none"), "first");
    // A second call with the same slot starts from an empty one: GLib refuses to overwrite.
    g_set_error(error.Out(), G_FILE_ERROR, G_FILE_ERROR_NOENT, "%s", "");
    EXPECT_EQ(error.Message("none"), "none");
    error.reset();
    EXPECT_FALSE(error);
}

TEST(GlibOwners, ASourceIsDetachedWhenItsOwnerGoes)
{
    GMainContext* context = g_main_context_new();
    GSource* source = g_idle_source_new();
    g_source_attach(source, context);
    const guint id = g_source_get_id(source);
    g_source_ref(source); // kept to look at it afterwards
    { const SourcePtr owner(source); }
    EXPECT_TRUE(g_source_is_destroyed(source));
    EXPECT_EQ(g_main_context_find_source_by_id(context, id), nullptr);
    g_source_unref(source);
    g_main_context_unref(context);
}
