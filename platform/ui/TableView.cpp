#include "platform/ui/TableView.h"

#include <algorithm>
#include <cmath>

#include "platform/foundation/RunLoop.h"
#include "platform/graphics/GraphicsContext.h"
#include "platform/graphics/Image.h"
#include "platform/ui/Backends.h"
#include "platform/ui/Event.h"
#include "platform/ui/TableCellView.h"

namespace platform {

namespace {

constexpr uint16_t HomeKeyCode = 115;
constexpr uint16_t PageUpKeyCode = 116;
constexpr uint16_t EndKeyCode = 119;
constexpr uint16_t PageDownKeyCode = 121;
constexpr uint16_t DownArrowKeyCode = 125;
constexpr uint16_t UpArrowKeyCode = 126;
// Cells kept for reuse per identifier; more than a screenful is never needed.
constexpr size_t ReusableCellLimit = 64;

// Pictures of removed rows, drawn on top of the rows, each moved left by its share of the slide.
class RowSlideOverlay : public View {
  public:
    struct Slide {
        Image picture;
        Rect rect;
    };
    using View::View;
    void drawRect(const Rect&) override {
        GraphicsContext* context = GraphicsContext::current();
        if (!context) return;
        for (const Slide& slide : slides) {
            Rect moved = slide.rect;
            moved.origin.x -= progress * slide.rect.width();
            context->drawImage(slide.picture, moved, 1.0 - progress);
        }
    }
    std::vector<Slide> slides;
    double progress = 0;
};

}  // namespace

TableView::TableView(const Rect& frame) : View(frame), m_scroller(std::make_shared<Scroller>()) {
    if (const auto& make = Backends::current().tables) m_backend = make();
    m_scroller->setAction([this](Control&) { setScrollOffset(m_scroller->offset()); });
}

TableView::~TableView() {
    *m_alive = false;
}

void TableView::setBackend(std::unique_ptr<TableViewBackend> backend) {
    m_backend = std::move(backend);
    if (m_backend) m_backend->rowsReloaded(*this);
}

void TableView::addTableColumn(TableColumn column) {
    m_columns.push_back(std::move(column));
}

void TableView::setRowHeight(double height) {
    m_rowHeight = std::max(1.0, height);
    layoutRows();
    makeVisibleRows();
    updateScroller();
}

void TableView::registerCellFactory(const std::string& identifier, CellFactory factory) {
    m_factories[identifier] = std::move(factory);
}

std::shared_ptr<View> TableView::makeViewWithIdentifier(const std::string& identifier,
                                                        const void*) {
    auto& pool = m_reusable[identifier];
    if (!pool.empty()) {
        std::shared_ptr<View> cell = pool.back();
        pool.pop_back();
        return cell;
    }
    auto factory = m_factories.find(identifier);
    if (factory == m_factories.end() || !factory->second) return nullptr;
    std::shared_ptr<View> cell = factory->second();
    if (auto* tableCell = dynamic_cast<TableCellView*>(cell.get()))
        tableCell->setIdentifier(identifier);
    return cell;
}

void TableView::recycle(const std::shared_ptr<View>& cell) {
    auto* tableCell = dynamic_cast<TableCellView*>(cell.get());
    if (!tableCell || tableCell->identifier().empty()) return;
    auto& pool = m_reusable[tableCell->identifier()];
    if (pool.size() < ReusableCellLimit) pool.push_back(cell);
}

void TableView::reloadData(std::function<void()> completion) {
    if (completion) m_reloadCompletions.push_back(std::move(completion));
    if (m_notifyingSelection == 0) {
        reloadNow();
        return;
    }
    if (m_reloadPending) return;
    m_reloadPending = true;
    std::weak_ptr<bool> alive = m_alive;
    RunLoop::mainRunLoop().performBlock([this, alive] {
        if (alive.lock() && m_reloadPending) reloadNow();
    });
}

void TableView::reloadNow() {
    m_reloadPending = false;
    while (!m_rows.empty()) releaseRow(m_rows.begin()->first);
    m_numberOfRows =
        m_dataSource ? std::max<int64_t>(0, m_dataSource->numberOfRowsInTableView(*this)) : 0;
    bool lost = m_selectedRow >= m_numberOfRows;
    if (lost) m_selectedRow = -1;
    setScrollOffset(m_scrollOffset);
    makeVisibleRows();
    updateScroller();
    setNeedsDisplay(true);
    if (m_backend) m_backend->rowsReloaded(*this);
    if (lost) {
        if (m_backend) m_backend->selectionChanged(*this, std::nullopt);
        m_reloading = true;
        notifySelectionDidChange();
        m_reloading = false;
    }
    runReloadCompletions();
}

void TableView::runReloadCompletions() {
    std::vector<std::function<void()>> completions;
    completions.swap(m_reloadCompletions);
    for (auto& completion : completions) completion();
}

void TableView::selectRowIndexes(const IndexSet& indexes, bool byExtendingSelection) {
    if (indexes.empty()) {
        if (!byExtendingSelection) changeSelection(-1);
        return;
    }
    for (int64_t index : indexes) {
        if (index >= 0 && index < m_numberOfRows) {
            changeSelection(index);
            return;
        }
    }
}

void TableView::deselectAll() {
    changeSelection(-1);
}

void TableView::userSelectRow(std::optional<int64_t> row) {
    if (row && (*row < 0 || *row >= m_numberOfRows)) return;
    changeSelection(row ? *row : -1);
    if (row) scrollRowToVisible(*row);
}

void TableView::changeSelection(int64_t row) {
    if (row == m_selectedRow) return;
    int64_t old = m_selectedRow;
    m_selectedRow = row;
    applyStyle(old);
    applyStyle(row);
    if (m_backend)
        m_backend->selectionChanged(*this, row >= 0 ? std::optional<int64_t>(row) : std::nullopt);
    notifySelectionDidChange();
}

void TableView::notifySelectionDidChange() {
    if (!m_delegate) return;
    struct Depth {
        int& depth;
        explicit Depth(int& d) : depth(d) { ++depth; }
        ~Depth() { --depth; }
    } depth(m_notifyingSelection);
    m_delegate->tableViewSelectionDidChange(*this);
}

void TableView::removeRowsAtIndexes(const IndexSet& rows, TableViewAnimation animation) {
    IndexSet removed;
    for (int64_t row : rows)
        if (row >= 0 && row < m_numberOfRows) removed.insert(row);
    if (removed.empty()) return;
    leaveSlidePictures(removed, animation);
    for (int64_t row : removed)
        if (m_rows.count(row)) releaseRow(row);
    std::map<int64_t, Row> renumbered;
    for (auto& [index, row] : m_rows) {
        auto below = std::distance(removed.begin(), removed.lower_bound(index));
        renumbered.emplace(index - below, std::move(row));
    }
    m_rows.swap(renumbered);
    m_numberOfRows -= int64_t(removed.size());
    bool lost = removed.count(m_selectedRow) > 0;
    if (lost)
        m_selectedRow = -1;
    else if (m_selectedRow >= 0)
        m_selectedRow -= std::distance(removed.begin(), removed.lower_bound(m_selectedRow));
    setScrollOffset(m_scrollOffset);
    updateScroller();
    layoutRows();
    makeVisibleRows();
    setNeedsDisplay(true);
    if (m_backend) m_backend->rowsRemoved(*this, removed, animation);
    if (lost) {
        if (m_backend) m_backend->selectionChanged(*this, std::nullopt);
        notifySelectionDidChange();
    }
}

void TableView::leaveSlidePictures(const IndexSet& rows, TableViewAnimation animation) {
    if (animation != TableViewAnimation::SlideLeft || !m_backend || !m_backend->slidesRemovedRows())
        return;
    auto overlay = std::dynamic_pointer_cast<RowSlideOverlay>(m_slideOverlay);
    if (!overlay) overlay = std::make_shared<RowSlideOverlay>(bounds());
    for (int64_t index : rows) {
        auto found = m_rows.find(index);
        if (found == m_rows.end()) continue;
        Rect rect = rectOfRow(index);
        auto context = GraphicsContext::imageContext(int(std::ceil(rect.width())),
                                                     int(std::ceil(rect.height())));
        context->translateCTM(-rect.minX(), -rect.minY());
        context->setFillColor(index == m_selectedRow ? selectionColor() : backgroundColor());
        context->fillRect(rect);
        for (auto& cell : found->second.cells)
            if (cell) cell->displayInContext(*context);
        overlay->slides.push_back({context->makeImage(), rect});
    }
    if (overlay->slides.empty()) return;
    overlay->progress = 0;
    m_slideOverlay = overlay;
}

void TableView::advanceRowSlides(double progress) {
    auto overlay = std::dynamic_pointer_cast<RowSlideOverlay>(m_slideOverlay);
    if (!overlay) return;
    if (progress >= 1) {
        overlay->removeFromSuperview();
        m_slideOverlay.reset();
        setNeedsDisplay(true);
        return;
    }
    overlay->progress = std::max(0.0, progress);
    addSubview(overlay);  // on top again: rows made since came above it
    overlay->setFrame(bounds());
    overlay->setNeedsDisplay(true);
}

std::shared_ptr<View> TableView::viewAtColumn(int64_t column, int64_t row, bool makeIfNecessary) {
    if (column < 0 || column >= int64_t(m_columns.size()) || row < 0 || row >= m_numberOfRows)
        return nullptr;
    auto found = m_rows.find(row);
    if (found != m_rows.end()) return found->second.cells[size_t(column)];
    if (!makeIfNecessary || !m_delegate) return nullptr;
    Row made;
    for (const TableColumn& each : m_columns) {
        std::shared_ptr<View> cell = m_delegate->tableView(*this, each, row);
        if (cell) addSubview(cell);
        made.cells.push_back(cell);
    }
    std::shared_ptr<View> wanted = made.cells[size_t(column)];
    m_rows.emplace(row, std::move(made));
    layoutRows();
    applyStyle(row);
    return wanted;
}

Rect TableView::rectOfRow(int64_t row) const {
    Rect box = bounds();
    double top = box.maxY() + m_scrollOffset;
    return Rect(box.minX(), top - double(row + 1) * m_rowHeight, rowsWidth(), m_rowHeight);
}

double TableView::rowsWidth() const {
    const double width = bounds().width();
    return m_scroller->superview() == this ? std::max(0.0, width - Scroller::ScrollerWidth) : width;
}

void TableView::updateScroller() {
    const Rect box = bounds();
    const double content = double(m_numberOfRows) * m_rowHeight;
    const bool needed = content > box.height() && box.width() > Scroller::ScrollerWidth;
    const bool shown = m_scroller->superview() == this;
    if (needed) {
        m_scroller->setFrame(Rect(box.maxX() - Scroller::ScrollerWidth, box.minY(),
                                  Scroller::ScrollerWidth, box.height()));
        m_scroller->setLineScroll(m_rowHeight);
        m_scroller->setContent(content, box.height(), m_scrollOffset);
        if (!shown) addSubview(m_scroller);
    } else if (shown) {
        m_scroller->removeFromSuperview();
    }
    // The rows make room for the bar, or take it back.
    if (needed != shown) {
        layoutRows();
        setNeedsDisplay(true);
    }
}

int64_t TableView::rowAtPoint(Point point) const {
    Rect box = bounds();
    if (point.x < box.minX() || point.x >= box.maxX()) return -1;
    double fromTop = box.maxY() + m_scrollOffset - point.y;
    if (fromTop < 0) return -1;
    auto row = int64_t(std::floor(fromTop / m_rowHeight));
    return row < m_numberOfRows ? row : -1;
}

std::pair<int64_t, int64_t> TableView::visibleRowRange() const {
    double height = bounds().height();
    auto first = int64_t(std::floor(m_scrollOffset / m_rowHeight));
    auto last = int64_t(std::ceil((m_scrollOffset + height) / m_rowHeight));
    first = std::clamp<int64_t>(first, 0, m_numberOfRows);
    last = std::clamp<int64_t>(last, first, m_numberOfRows);
    return {first, last};
}

void TableView::setScrollOffset(double offset) {
    double most = std::max(0.0, double(m_numberOfRows) * m_rowHeight - bounds().height());
    double clamped = std::clamp(offset, 0.0, most);
    if (clamped == m_scrollOffset) return;
    m_scrollOffset = clamped;
    layoutRows();
    makeVisibleRows();
    updateScroller();
    setNeedsDisplay(true);
}

void TableView::scrollRowToVisible(int64_t row) {
    if (row < 0 || row >= m_numberOfRows) return;
    double top = double(row) * m_rowHeight;
    double height = bounds().height();
    if (top < m_scrollOffset)
        setScrollOffset(top);
    else if (top + m_rowHeight > m_scrollOffset + height)
        setScrollOffset(top + m_rowHeight - height);
}

void TableView::setFrame(const Rect& frame) {
    View::setFrame(frame);
    setScrollOffset(m_scrollOffset);
    updateScroller();
    layoutRows();
    makeVisibleRows();
}

void TableView::layoutRows() {
    for (auto& [index, row] : m_rows) {
        Rect rowRect = rectOfRow(index);
        double x = rowRect.minX();
        for (size_t c = 0; c < row.cells.size(); ++c) {
            bool last = c + 1 == m_columns.size();
            double width = m_columns[c].width();
            if (last || width <= 0) width = std::max(0.0, rowRect.maxX() - x);
            if (row.cells[c]) row.cells[c]->setFrame(Rect(x, rowRect.minY(), width, m_rowHeight));
            x += width;
        }
    }
}

void TableView::makeVisibleRows() {
    auto [first, last] = visibleRowRange();
    std::vector<int64_t> gone;
    for (const auto& [index, row] : m_rows)
        if (index < first || index >= last) gone.push_back(index);
    for (int64_t index : gone) releaseRow(index);
    if (m_columns.empty()) return;
    for (int64_t row = first; row < last; ++row) viewAtColumn(0, row, true);
}

void TableView::releaseRow(int64_t index) {
    auto found = m_rows.find(index);
    if (found == m_rows.end()) return;
    for (auto& cell : found->second.cells) {
        if (!cell) continue;
        cell->removeFromSuperview();
        recycle(cell);
    }
    m_rows.erase(found);
}

void TableView::applyStyle(int64_t row) {
    auto found = m_rows.find(row);
    if (found == m_rows.end()) return;
    BackgroundStyle style =
        row == m_selectedRow ? BackgroundStyle::Emphasized : BackgroundStyle::Normal;
    for (auto& cell : found->second.cells)
        if (auto* tableCell = dynamic_cast<TableCellView*>(cell.get()))
            tableCell->setBackgroundStyle(style);
    setNeedsDisplayInRect(rectOfRow(row));
    if (m_backend) m_backend->rowNeedsDisplay(*this, row);
}

Color TableView::selectionColor() {
    return Color::calibratedRGB(0.20, 0.47, 0.85);
}

Color TableView::backgroundColor() {
    return Color::whiteColor();
}

void TableView::drawRect(const Rect& dirtyRect) {
    GraphicsContext* context = GraphicsContext::current();
    if (!context) return;
    context->setFillColor(backgroundColor());
    context->fillRect(dirtyRect);
    if (m_selectedRow < 0) return;
    context->setFillColor(selectionColor());
    context->fillRect(rectOfRow(m_selectedRow));
}

View* TableView::hitTest(Point point) {
    return View::hitTest(point) ? this : nullptr;
}

void TableView::mouseDown(const Event& event) {
    int64_t row = rowAtPoint(convertPointFromView(event.locationInWindow(), nullptr));
    userSelectRow(row >= 0 ? std::optional<int64_t>(row) : std::nullopt);
}

void TableView::scrollWheel(const Event& event) {
    double before = m_scrollOffset;
    double delta = event.scrollingDeltaY();
    if (!event.hasPreciseScrollingDeltas())
        delta *=
            std::min(RowsPerWheelNotch * m_rowHeight, std::max(m_rowHeight, bounds().height()));
    setScrollOffset(m_scrollOffset - delta);
    if (m_scrollOffset == before) View::scrollWheel(event);
}

void TableView::moveSelection(int64_t rows, double scroll) {
    int64_t from = m_selectedRow >= 0 ? m_selectedRow : visibleRowRange().first;
    setScrollOffset(m_scrollOffset + scroll);
    userSelectRow(std::clamp<int64_t>(from + rows, 0, m_numberOfRows - 1));
}

void TableView::keyDown(const Event& event) {
    if (m_numberOfRows == 0) return View::keyDown(event);
    // A page is the rows wholly in sight, one at least.
    const auto page = std::max<int64_t>(1, int64_t(bounds().height() / m_rowHeight));
    switch (event.keyCode()) {
        case DownArrowKeyCode:
            return userSelectRow(std::min(m_selectedRow + 1, m_numberOfRows - 1));
        case UpArrowKeyCode:
            return userSelectRow(std::max<int64_t>(m_selectedRow - 1, 0));
        case PageDownKeyCode:
            return moveSelection(page, double(page) * m_rowHeight);
        case PageUpKeyCode:
            return moveSelection(-page, -double(page) * m_rowHeight);
        case HomeKeyCode:
            return userSelectRow(0);
        case EndKeyCode:
            return userSelectRow(m_numberOfRows - 1);
        default:
            View::keyDown(event);
    }
}

}  // namespace platform
