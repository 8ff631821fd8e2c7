#pragma once

#include <any>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/foundation/Range.h"
#include "platform/graphics/AttributedString.h"
#include "platform/graphics/Color.h"
#include "platform/graphics/Font.h"
#include "platform/graphics/Geometry.h"
#include "platform/graphics/Path.h"
#include "platform/ui/View.h"
#include "textview/TXTextAttachment.h"
#include "textview/TXTextLayout.h"
#include "textview/TXTextViewDelegate.h"

namespace platform {
class Event;
class GraphicsContext;
class Timer;
}  // namespace platform

class TXFlippedGeometry;

// A view that shows one attributed string through its layout: selection, marked text while
// editing, links with press and rollover highlights, inline attachments, and the mouse, menu
// and pasteboard handling around them. It selects and copies; it never edits the characters
// beyond putting attachment characters in place. Its users turn it by −90° to show vertical
// columns; it knows nothing of that.
class TXTextView : public platform::View {
  public:
    // The character that stands in the text for an attachment.
    static constexpr char16_t OBJECT_REPLACEMENT_CHARACTER = u'\uFFFC';

    explicit TXTextView(const platform::Rect& frame = platform::Rect());  // initWithFrame:
    ~TXTextView() override;
    // For views made from an interface file: sets the view up afresh.
    void awakeFromNib();

    // Text. `text` is always the string of `attributedText`; both setters mark the bounds for
    // display.
    const std::optional<std::u16string>& text() const { return m_text; }
    void setText(std::optional<std::u16string> text);
    const std::optional<platform::AttributedString>& attributedText() const {
        return m_attributedText;
    }
    void setAttributedText(std::optional<platform::AttributedString> attributedText);
    // Adds the attributes over the whole text.
    void setAttributes(const platform::TextAttributes& attributes);
    // Font, colour, attachments and paragraph style, written into the text before each layout.
    void setAdditionalAttributes();
    void updateLayout();

    // Properties that take effect at the next draw.
    const std::optional<platform::Font>& font() const { return m_font; }
    void setFont(std::optional<platform::Font> font) { m_font = std::move(font); }
    const std::optional<platform::Color>& textColor() const { return m_textColor; }
    void setTextColor(std::optional<platform::Color> color) { m_textColor = color; }
    platform::Color highlightedTextColor() const { return m_highlightedTextColor; }
    void setHighlightedTextColor(platform::Color color) { m_highlightedTextColor = color; }
    uint64_t textAlignment() const { return m_textAlignment; }
    void setTextAlignment(uint64_t alignment) { m_textAlignment = alignment; }
    uint64_t lineBreakMode() const { return m_lineBreakMode; }
    void setLineBreakMode(uint64_t mode) { m_lineBreakMode = mode; }
    double lineSpacing() const { return m_lineSpacing; }
    void setLineSpacing(double spacing) { m_lineSpacing = spacing; }
    double lineHeight() const { return m_lineHeight; }
    void setLineHeight(double height) { m_lineHeight = height; }
    double paragraphSpacing() const { return m_paragraphSpacing; }
    void setParagraphSpacing(double spacing) { m_paragraphSpacing = spacing; }
    platform::Color selectedTextBackgroundColor() const { return m_selectedTextBackgroundColor; }
    void setSelectedTextBackgroundColor(platform::Color c) { m_selectedTextBackgroundColor = c; }
    platform::Color linkHighlightColor() const { return m_linkHighlightColor; }
    void setLinkHighlightColor(platform::Color c) { m_linkHighlightColor = c; }
    platform::Color linkRolloverEffectColor() const { return m_linkRolloverEffectColor; }
    void setLinkRolloverEffectColor(platform::Color c) { m_linkRolloverEffectColor = c; }
    double minimumLongPressDuration() const { return m_minimumLongPressDuration; }
    void setMinimumLongPressDuration(double seconds) { m_minimumLongPressDuration = seconds; }

    bool isHighlighted() const { return m_highlighted; }
    // Shows the whole text in the highlighted colour, or restores it as it was before.
    void setHighlighted(bool highlighted);
    bool isSelectable() const { return m_selectable; }
    void setSelectable(bool selectable) { m_selectable = selectable; }
    bool isEditable() const { return m_editable; }
    // Editable implies selectable.
    void setEditable(bool editable);
    bool isEditing() const { return m_editing; }
    void setEditing(bool editing);
    bool isLongPressing() const { return m_longPressing; }

    const std::shared_ptr<platform::View>& inputView() const { return m_inputView; }
    void setInputView(std::shared_ptr<platform::View> view) { m_inputView = std::move(view); }
    const std::shared_ptr<platform::View>& inputAccessoryView() const {
        return m_inputAccessoryView;
    }
    void setInputAccessoryView(std::shared_ptr<platform::View> view) {
        m_inputAccessoryView = std::move(view);
    }

    std::shared_ptr<TXTextViewDelegate> delegate() const { return m_delegate.lock(); }
    void setDelegate(const std::shared_ptr<TXTextViewDelegate>& delegate) { m_delegate = delegate; }

    TXTextLayout* textLayout() const { return m_textLayout.get(); }
    const std::vector<std::shared_ptr<TXTextAttachment>>& attachments() const {
        return m_attachments;
    }
    // Pointer state: 0 idle, 1 pressed inside the text frame, 2 dragging or double-clicked.
    uint64_t touchPhase() const { return m_touchPhase; }
    platform::Point clickPoint() const { return m_clickPoint; }
    // The last pointer position, in the view's coordinates.
    platform::Point mouseLocation() const { return m_mouseLocation; }
    const std::optional<platform::AttributedString>& originalAttributedTextWhenHighlighting()
        const {
        return m_originalAttributedTextWhenHighlighting;
    }
    std::shared_ptr<platform::Timer> longPressTimer() const { return m_longPressTimer.lock(); }

    // Derived values. The selected range is clamped to the current text before it is read.
    platform::Rect layoutFrame() const;
    platform::Range selectedRange() const;
    std::u16string selectedText() const;
    platform::AttributedString selectedAttributedText() const;
    std::u16string editingText() const;
    platform::AttributedString editingAttributedText() const;
    platform::Rect caretRect() const { return platform::Rect::null(); }

    // Geometry and sizing.
    void setFrame(const platform::Rect& frame) override;
    void setBounds(const platform::Rect& bounds) override;
    platform::Size sizeThatFits(platform::Size constraint);
    void sizeToFit();

    // The rectangle the text takes within the constraint, measured with natural alignment; the
    // string given is not changed.
    static platform::Rect frameRectWithAttributtedString(
        const std::optional<platform::AttributedString>& string, platform::Size constraint);
    static platform::Rect frameRectWithAttributtedString(
        const std::optional<platform::AttributedString>& string, platform::Size constraint,
        double lineSpacing);
    static platform::Rect frameRectWithAttributtedString(
        const std::optional<platform::AttributedString>& string, platform::Size constraint,
        double lineSpacing, const std::optional<platform::Font>& font);
    static platform::Rect frameRectWithAttributtedString(
        const std::optional<platform::AttributedString>& string, platform::Size constraint,
        double lineSpacing, double paragraphSpacing, const std::optional<platform::Font>& font);

    // Attachments: a view (std::shared_ptr<platform::View>), an image (platform::Image) or a
    // drawing block (TXAttachmentDrawingBlock). A range of length 0 inserts the attachment's
    // character; a longer one replaces those characters. A range beyond the text is ignored.
    void addObject(std::any object, platform::Size size, platform::Range replaceRange);
    void addObject(std::any object, platform::Size size, uint64_t atIndex);

    // Drawing.
    void drawRect(const platform::Rect& dirtyRect) override;
    void resetCursorRects() override;
    // The link under a point of the view, or null.
    std::shared_ptr<TXLinkText> linkAtPoint(platform::Point point) const;
    // Visits every link of every line, lines in order; the block may stop the walk.
    void enumerateLinksUsingBlock(
        const std::function<void(const std::shared_ptr<TXLinkText>&, bool& stop)>& block) const;
    static platform::Path bezierPathWithRoundedRect(const platform::Rect& rect,
                                                    double cornerRadius);

    // Hit testing, with points in the view's coordinates.
    platform::Point mouseLocationOnEvent(const platform::Event& event) const;
    int64_t stringIndexAtPoint(platform::Point point) const;
    bool containsPointInTextFrame(platform::Point point) const;
    bool containsPointInSelection(platform::Point point) const;
    // The first line's piece of the selection, in the view's coordinates; zero when none.
    platform::Rect rectOfFirstLineInSelectionRect() const;

    // Selection and change notices.
    void clearSelection();
    void selectionChanged();
    void notifySelectionChanged();
    void finishSelecting();
    void textChanged();
    void notifyTextChanged();

    // Events.
    void mouseDown(const platform::Event& event) override;
    void mouseDragged(const platform::Event& event) override;
    void mouseUp(const platform::Event& event) override;
    void mouseEntered(const platform::Event& event) override;
    void mouseExited(const platform::Event& event) override;
    std::shared_ptr<platform::Menu> menuForEvent(const platform::Event& event) override;
    void quickLookWithEvent(const platform::Event& event);
    bool performKeyEquivalent(const platform::Event& event) override;
    bool validateMenuItem(const platform::MenuItem& item) override;

    // Actions; also reachable by name ("copy:", "cut:", "paste:", "select:", "selectAll:").
    void copy();
    void cut();
    void paste();
    void select();
    void selectAll();

    bool acceptsFirstResponder() override { return true; }
    bool canResignFirstResponder();
    bool resignFirstResponder() override;

    void startLongPressTimer();
    void stopLongPressTimer();
    void handleLongPress(platform::Timer& timer);
    void clickedOnLink(const std::shared_ptr<TXLinkText>& link);
    void longPressedOnLink(const std::shared_ptr<TXLinkText>& link);

  protected:
    // The measuring the view sizes itself with; a subclass may measure its own way.
    virtual platform::Rect measureFrameRect(const std::optional<platform::AttributedString>& string,
                                            platform::Size constraint, double lineSpacing,
                                            const std::optional<platform::Font>& font) const;

  private:
    void commonInit();
    void registerActions();
    // The mapping between the layout's coordinates and the view's for the current lines.
    TXFlippedGeometry flippedGeometry() const;
    platform::Point layoutPoint(platform::Point viewPoint) const;
    platform::Range clampedToText(platform::Range range) const;
    bool respondsTo(TXTextViewDelegate::Selector selector) const;
    void placeAttachments();
    void markForDisplay(const platform::Rect& rect);

    void drawSelection(platform::GraphicsContext& context) const;
    void drawMarkedText(platform::GraphicsContext& context) const;
    void drawClickedLink(platform::GraphicsContext& context) const;
    void drawTextAttachmentsInContext(platform::GraphicsContext& context);
    void drawRollover(platform::GraphicsContext& context) const;
    // Hands each piece of the link under the pointer, in the view's coordinates, to `fill` with
    // the colour set.
    void fillLinkUnderPointer(
        platform::GraphicsContext& context, const platform::Color& color,
        const std::function<void(const platform::Rect& viewRect)>& fill) const;
    void addCursorRectsAndTrackingAreas();
    void addCursorRectsForLayout();

    std::weak_ptr<TXTextViewDelegate> m_delegate;
    std::optional<std::u16string> m_text;
    std::optional<platform::AttributedString> m_attributedText;
    std::optional<platform::Font> m_font;
    std::optional<platform::Color> m_textColor;
    platform::Color m_highlightedTextColor;
    uint64_t m_textAlignment = 0;
    uint64_t m_lineBreakMode = 0;
    double m_lineSpacing = 0;
    double m_lineHeight = 0;
    double m_paragraphSpacing = 0;
    platform::Color m_selectedTextBackgroundColor;
    platform::Color m_linkHighlightColor;
    platform::Color m_linkRolloverEffectColor;
    double m_minimumLongPressDuration = 0.5;
    bool m_highlighted = false;
    bool m_selectable = false;
    bool m_editable = false;
    bool m_editing = false;
    bool m_longPressing = false;
    std::shared_ptr<platform::View> m_inputView;
    std::shared_ptr<platform::View> m_inputAccessoryView;
    std::unique_ptr<TXTextLayout> m_textLayout;
    std::vector<std::shared_ptr<TXTextAttachment>> m_attachments;
    // Every attachment ever placed: the run delegates in the text (and in copies of it kept for
    // highlighting) point at them, so they must outlive those texts.
    std::vector<std::shared_ptr<TXTextAttachment>> m_placedAttachments;
    uint64_t m_touchPhase = 0;
    platform::Point m_clickPoint;
    platform::Point m_mouseLocation;
    std::optional<platform::AttributedString> m_originalAttributedTextWhenHighlighting;
    std::weak_ptr<platform::Timer> m_longPressTimer;
    // Set for the length of a draw: the attributes written then do not ask for another draw.
    bool m_drawing = false;
};
