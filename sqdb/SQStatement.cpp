#include "sqdb/SQStatement.h"

#include <sqlite3.h>

#include "platform/foundation/Log.h"
#include "sqdb/SQDatabase.h"

static_assert(SQDBOpenReadOnly == SQLITE_OPEN_READONLY &&
              SQDBOpenReadWrite == SQLITE_OPEN_READWRITE && SQDBOpenCreate == SQLITE_OPEN_CREATE &&
              SQDBOpenURI == SQLITE_OPEN_URI && SQDBOpenMemory == SQLITE_OPEN_MEMORY &&
              SQDBOpenNoMutex == SQLITE_OPEN_NOMUTEX &&
              SQDBOpenFullMutex == SQLITE_OPEN_FULLMUTEX &&
              SQDBOpenSharedCache == SQLITE_OPEN_SHAREDCACHE &&
              SQDBOpenPrivateCache == SQLITE_OPEN_PRIVATECACHE &&
              SQDBOpenNoFollow == SQLITE_OPEN_NOFOLLOW);

void SQStatementFinalizer::operator()(sqlite3_stmt* statement) const {
    sqlite3_finalize(statement);
}

SQStatement::~SQStatement() {
    close();
}

void SQStatement::close() {
    m_statement.reset();
    m_inUse = false;
}

void SQStatement::setStatement(SQStatementHandle statement) {
    m_statement = std::move(statement);
    m_parameterCount = m_statement ? sqlite3_bind_parameter_count(m_statement.get()) : 0;
}

std::string SQStatement::description() const {
    return platform::stringWithFormat("<SQStatement: %p> %ld hit(s) for query %s",
                                      static_cast<const void*>(this), static_cast<long>(m_useCount),
                                      query().c_str());
}
