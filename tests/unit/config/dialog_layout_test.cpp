#include "config/dialog_layout.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <initializer_list>
#include <utility>
#include <vector>
#include <set>
#include <string>

#include "config/dialog_artwork.h"

namespace {

template <typename Events> void ExpectTabOrderIsASequence(std::span<const DialogControl<Events>> controls)
{
    std::vector<int> orders;
    for (const auto& control : controls)
        if (control.tabOrder != kNoTabStop) orders.push_back(control.tabOrder);
    std::sort(orders.begin(), orders.end());
    for (std::size_t i = 0; i < orders.size(); ++i) EXPECT_EQ(orders[i], static_cast<int>(i));
}

// Every control starts in the client area and shows most of itself; none overlaps another
// except the controls placed in a panel.
template <typename Events> void ExpectPlacesFit(std::span<const DialogControl<Events>> controls, Size client)
{
    for (const auto& control : controls) {
        SCOPED_TRACE(control.name);
        const Rect place = ClientPlace(controls, control);
        EXPECT_GE(place.x, 0);
        EXPECT_GE(place.y, 0);
        EXPECT_GT(place.width, 0);
        EXPECT_GT(place.height, 0);
        EXPECT_GE((client.width - place.x) * 100, place.width * 99);
        EXPECT_GE((client.height - place.y) * 100, place.height * 99);
        for (const auto& other : controls) {
            if (&other == &control || control.parent || other.parent) continue;
            const Rect o = ClientPlace(controls, other);
            const bool apart = place.Right() <= o.x || o.Right() <= place.x || place.Bottom() <= o.y ||
                               o.Bottom() <= place.y;
            EXPECT_TRUE(apart) << "overlaps " << other.name;
        }
    }
}

// How often each handler is named; member pointers have no order, so a plain list.
template <typename Handler> struct HandlerCounts {
    std::vector<std::pair<Handler, int>> counts;
    HandlerCounts(std::initializer_list<Handler> handlers)
    {
        for (Handler h : handlers) counts.emplace_back(h, 0);
    }
    void Add(Handler h)
    {
        const auto found = std::find_if(counts.begin(), counts.end(), [h](const auto& c) { return c.first == h; });
        ASSERT_NE(found, counts.end()) << "a handler the test does not know";
        ++found->second;
    }
};

} // namespace

TEST(DialogLayout, TabStopsAreNumberedOnceEachWithoutGaps)
{
    ExpectTabOrderIsASequence(ConfigControls());
    ExpectTabOrderIsASequence(AboutControls());
}

TEST(DialogLayout, ControlsLieInTheClientAreaWithoutOverlapping)
{
    ExpectPlacesFit(ConfigControls(), kConfigWindow.client);
    ExpectPlacesFit(AboutControls(), kAboutWindow.client);
}

TEST(DialogLayout, EveryHandlerIsReachedByExactlyOneControlOrMenuItem)
{
    using C = ConfigDialogEvents;
    HandlerCounts<void (C::*)()> config{&C::btnAddDirClick,       &C::btnDelDirClick,       &C::btnViewDirClick,
                                        &C::btnSaveClick,         &C::btnCloseClick,        &C::menuExitClick,
                                        &C::menuHelpContentClick, &C::menuVisitHomePageClick, &C::imgLogoClick,
                                        &C::menuAboutClick};
    for (const auto& control : ConfigControls())
        if (control.click) config.Add(control.click);
    for (const auto& item : ConfigMenu()) config.Add(item.click);
    for (const auto& [handler, count] : config.counts) EXPECT_EQ(count, 1);

    using A = AboutBoxEvents;
    HandlerCounts<void (A::*)()> about{&A::btnCloseClick, &A::btnVisitHomePageClick, &A::labelWebClick,
                                       &A::labelMailClick};
    for (const auto& control : AboutControls())
        if (control.click) about.Add(control.click);
    for (const auto& [handler, count] : about.counts) EXPECT_EQ(count, 1);
}

TEST(DialogLayout, EachCheckBoxAndLinkHasOneControlAndNamesAreUnique)
{
    std::multiset<ConfigCheckBox> boxes;
    std::set<std::string> names;
    for (const auto& control : ConfigControls()) {
        EXPECT_TRUE(names.insert(control.name).second) << control.name;
        if (control.kind == ControlKind::CheckBox) boxes.insert(control.checkBox);
    }
    EXPECT_EQ(boxes.size(), 7u);
    EXPECT_EQ(std::set<ConfigCheckBox>(boxes.begin(), boxes.end()).size(), 7u);

    std::multiset<AboutLink> links;
    names.clear();
    for (const auto& control : AboutControls()) {
        EXPECT_TRUE(names.insert(control.name).second) << control.name;
        if (control.kind == ControlKind::Link) links.insert(control.link);
    }
    EXPECT_EQ(links, (std::multiset<AboutLink>{AboutLink::Web, AboutLink::Mail}));
}

TEST(DialogArtwork, PicturesAreFittedWithTheirProportionsFromTheTopLeft)
{
    constexpr Pixel kMagenta = MakePixel(255, 0, 255);
    const Bitmap source(20, 10, MakePixel(1, 2, 3));
    const struct {
        Size area;
        Size drawn;
    } cases[] = {{{40, 40}, {40, 20}}, {{40, 10}, {20, 10}}, {{20, 10}, {20, 10}}, {{7, 3}, {6, 3}}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.area.width) + "x" + std::to_string(c.area.height));
        const Bitmap fitted = FitIntoArea(source, c.area);
        ASSERT_EQ(fitted.Width(), c.area.width);
        ASSERT_EQ(fitted.Height(), c.area.height);
        for (int y = 0; y < c.area.height; ++y)
            for (int x = 0; x < c.area.width; ++x) {
                const bool inside = x < c.drawn.width && y < c.drawn.height;
                ASSERT_EQ((fitted.At(x, y) & 0xFFFFFF) == kMagenta, !inside) << x << "," << y;
            }
    }
    const Rect logo = ControlOfKind(ConfigControls(), ControlKind::Picture).place;
    const Bitmap banner = PreparedPicture(DialogPicture::Banner);
    EXPECT_EQ((Size{banner.Width(), banner.Height()}), (Size{logo.width, logo.height}));
}
