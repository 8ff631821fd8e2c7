#include "notes/store/zip/ZipException.h"

#include <utility>

namespace notes {

ZipException::ZipException(std::string reason) : m_reason(std::move(reason)) {}

ZipException::ZipException(int64_t error, std::string reason)
    : m_error(error), m_reason(std::move(reason)) {}

}  // namespace notes
