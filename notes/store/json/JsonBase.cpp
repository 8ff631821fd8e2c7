#include "notes/store/json/JsonBase.h"

#include <algorithm>

#include "platform/foundation/Log.h"

namespace notes {

std::string JsonError::description() const {
    return "Error Domain=" + domain + platform::stringWithFormat(" Code=%u \"", code) +
           localizedDescription + "\"";
}

std::string describeErrorTrace(const JsonErrorTrace& trace) {
    std::string text = "(";
    for (std::size_t i = 0; i < trace.size(); ++i) {
        text += i == 0 ? "\n    " : ",\n    ";
        text += trace[i]->description();
    }
    text += "\n)";
    return text;
}

void JsonBase::addErrorWithCode(unsigned code, std::string_view description) {
    auto error = std::make_shared<JsonError>();
    error->domain = std::string(JsonErrorDomain);
    error->code = code;
    error->localizedDescription = description;
    if (!m_errorTrace) m_errorTrace.emplace();
    if (!m_errorTrace->empty()) error->underlyingError = m_errorTrace->back();
    m_errorTrace->push_back(std::move(error));
}

JsonBase::Nesting::Nesting(JsonBase& base) : m_base(base) {
    ++m_base.m_depth;
    std::uint64_t limit =
        m_base.maxDepth() == 0 ? kHardMaxDepth : std::min(m_base.maxDepth(), kHardMaxDepth);
    m_entered = m_base.m_depth <= limit;
    if (!m_entered) m_base.addErrorWithCode(JsonErrorNestedTooDeep, "Nested too deep");
}

void JsonBase::Nesting::leave() {
    if (m_left) return;
    m_left = true;
    --m_base.m_depth;
}

}  // namespace notes
