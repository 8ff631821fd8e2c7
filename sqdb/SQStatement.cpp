#include "sqdb/SQStatement.h"

#include "platform/foundation/Log.h"

SQStatement::~SQStatement() {
    close();
}

void SQStatement::close() {
    if (m_statement) {
        sqlite3_finalize(m_statement);
        m_statement = nullptr;
    }
    m_inUse = false;
}

void SQStatement::reset() {
    if (m_statement) sqlite3_reset(m_statement);
    m_inUse = false;
}

std::string SQStatement::description() const {
    return platform::stringWithFormat("<SQStatement: %p> %ld hit(s) for query %s",
                                      static_cast<const void*>(this), static_cast<long>(m_useCount),
                                      m_query.c_str());
}
