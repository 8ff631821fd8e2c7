#include "ListsTestSupport.h"
#include "notes/UI/NoteCellView.h"
#include "notes/UI/NoteDateFormat.h"
#include "platform/graphics/Image.h"
#include "platform/ui/TableCellImageView.h"
#include "platform/ui/TableCellTextField.h"
#include "textview/TXTextView.h"

using platform::BackgroundStyle;
using zelvo::NoteCellView;
using zelvo::NoteViewController;

namespace {

bool sameImage(const std::optional<platform::Image>& a, const std::optional<platform::Image>& b) {
    return a && b && a->surface() == b->surface();
}

std::shared_ptr<NoteCellView> cellAt(NoteViewController& list, int64_t row) {
    return std::dynamic_pointer_cast<NoteCellView>(
        list.noteTableView()->viewAtColumn(0, row, true));
}

}  // namespace

TEST_F(ListsTest, NoteCellsShowTheDateTheStatusImageAndTheSummaryTurned) {
    ScopedTimeZone zone("Europe/Berlin");
    // 2024-02-03 08:05 UTC is 09:05 in Berlin (winter time).
    storeNote("ᠮᠣᠩᠭᠣᠯ", "group_work", 1706947500, 1);
    storeNote("life", "group_life", 1706947400, 1);
    storeNote("elsewhere", "group_other", 1706947300, 1);
    NoteViewController list;
    list.viewPointer();
    ASSERT_EQ(list.notes().size(), 3u);

    auto work = cellAt(list, 0), life = cellAt(list, 1), other = cellAt(list, 2);
    ASSERT_TRUE(work && life && other);
    EXPECT_EQ(work->dateLabel()->stringValue(), "2024-02-03 09:05");
    EXPECT_TRUE(
        sameImage(work->normalStatusImage(), platform::Image::imageNamed("file_work2_menu")));
    EXPECT_TRUE(
        sameImage(life->normalStatusImage(), platform::Image::imageNamed("file_home_menu")));
    EXPECT_TRUE(sameImage(other->normalStatusImage(), platform::Image::imageNamed("file_recent")));
    EXPECT_TRUE(
        sameImage(other->normalDateBgImage(), platform::Image::imageNamed("stretchbg_count")));
    EXPECT_TRUE(sameImage(other->highLightedDateBgImage(),
                          platform::Image::imageNamed("stretchbg_count_highlighted")));

    const TXTextView& text = *work->seTextView();
    EXPECT_EQ(text.text(), std::optional<std::u16string>(u"ᠮᠣᠩᠭᠣᠯ"));
    EXPECT_EQ(text.boundsRotation(), -90);
    ASSERT_TRUE(text.font());
    EXPECT_EQ(text.font()->pointSize(), 14);
    EXPECT_EQ(text.lineHeight(), 25);
    EXPECT_TRUE(work->isLoaded());

    // Rows not selected have the normal look; the selected row the highlighted one.
    EXPECT_EQ(text.textColor(), std::optional<platform::Color>(NoteCellView::SummaryColor));
    EXPECT_TRUE(sameImage(work->dateBgImageView()->image(), work->normalDateBgImage()));
    list.noteTableView()->userSelectRow(0);
    EXPECT_EQ(work->backgroundStyle(), BackgroundStyle::Emphasized);
    EXPECT_EQ(text.textColor(), std::optional<platform::Color>(platform::Color::whiteColor()));
    EXPECT_TRUE(sameImage(work->dateBgImageView()->image(), work->highLightedDateBgImage()));
    EXPECT_EQ(work->dateLabel()->drawnTextColor(), platform::Color::whiteColor());
    list.noteTableView()->userSelectRow(1);
    EXPECT_EQ(text.textColor(), std::optional<platform::Color>(NoteCellView::SummaryColor));

    // Any other style touches the inherited image view only.
    work->setBackgroundStyle(BackgroundStyle::Raised);
    EXPECT_EQ(text.textColor(), std::optional<platform::Color>(NoteCellView::SummaryColor));
}

TEST_F(ListsTest, TheDateFollowsTheLocalZoneAndItsSummerTime) {
    ScopedTimeZone zone("Europe/Berlin");
    auto at = [](double s) { return platform::Date::dateWithTimeIntervalSince1970(s); };
    EXPECT_EQ(zelvo::noteListDateString(at(1706947500)), "2024-02-03 09:05");
    EXPECT_EQ(zelvo::noteListDateString(at(1719997500)), "2024-07-03 11:05");  // 09:05 UTC, CEST
    ScopedTimeZone utc("UTC");
    EXPECT_EQ(zelvo::noteListDateString(at(1706947500)), "2024-02-03 08:05");
}

TEST_F(ListsTest, TheCellNobodyMakesLogsItsName) {
    NoteCellView cell(platform::Rect(0, 0, 10, 10), "ignored");
    EXPECT_TRUE(logs.contains("-[NoteCellView initWithFrame:withSummary:]"));
    EXPECT_FALSE(cell.isLoaded());
}
