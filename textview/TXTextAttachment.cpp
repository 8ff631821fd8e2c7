#include "textview/TXTextAttachment.h"

#include "platform/foundation/Log.h"
#include "platform/graphics/Image.h"
#include "platform/ui/View.h"
#include "textview/TXDescription.h"

namespace {

const TXTextAttachment& attachment(void* refCon) {
    return *static_cast<const TXTextAttachment*>(refCon);
}

void RunDelegateDeallocateCallback(void*) {}
double RunDelegateGetAscentCallback(void* refCon) {
    return attachment(refCon).size().height;
}
double RunDelegateGetDescentCallback(void*) {
    return 0;
}
double RunDelegateGetWidthCallback(void* refCon) {
    return attachment(refCon).size().width;
}

std::string describeObject(const std::any& object) {
    if (!object.has_value()) return "(null)";
    if (const auto* image = std::any_cast<platform::Image>(&object)) {
        return platform::stringWithFormat("<Image %dx%d>", image->width(), image->height());
    }
    if (object.type() == typeid(TXAttachmentDrawingBlock)) return "<block>";
    return std::string("<") + object.type().name() + ">";
}

}  // namespace

TXTextAttachment::TXTextAttachment(std::any object, platform::Size size, platform::Range range)
    : m_object(std::move(object)), m_size(size), m_range(range) {}

TXTextAttachment::~TXTextAttachment() {
    removeViewFromSuperview();
}

void TXTextAttachment::removeViewFromSuperview() const {
    if (const auto* view = std::any_cast<std::shared_ptr<platform::View>>(&m_object))
        if (*view && (*view)->superview()) (*view)->removeFromSuperview();
}

void TXTextAttachment::setReplacedString(std::optional<std::u16string> string) {
    m_range.length = string ? string->size() : 0;
    m_replacedString = std::move(string);
}

const platform::RunDelegateCallbacks& TXTextAttachment::callbacks() const {
    static const platform::RunDelegateCallbacks callbacks{
        1, RunDelegateDeallocateCallback, RunDelegateGetAscentCallback,
        RunDelegateGetDescentCallback, RunDelegateGetWidthCallback};
    return callbacks;
}

std::string TXTextAttachment::description() const {
    return platform::stringWithFormat(
        "<TXTextAttachment: %p>, %s, size: %s, range: %s", static_cast<const void*>(this),
        describeObject(m_object).c_str(), TXStringFromSize(m_size).c_str(),
        TXStringFromRange(m_range).c_str());
}
