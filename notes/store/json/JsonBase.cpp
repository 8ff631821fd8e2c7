#include "notes/store/json/JsonBase.h"

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

void JsonBase::addNestedTooDeep() {
    addErrorWithCode(JsonErrorNestedTooDeep, "Nested too deep");
}

}  // namespace notes
