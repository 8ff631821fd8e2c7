#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "sqdb/SQLiteCalls.h"

// Finalizes a statement; the one way the layer lets go of one.
struct SQStatementFinalizer {
    void operator()(sqlite3_stmt* statement) const;
};
using SQStatementHandle = std::unique_ptr<sqlite3_stmt, SQStatementFinalizer>;

// One prepared statement of a connection, kept so that the connection's statement cache can hand
// it out again for the same SQL text. Shared between the cache and the result set reading it.
class SQStatement {
  public:
    SQStatement() = default;
    ~SQStatement();
    SQStatement(const SQStatement&) = delete;
    SQStatement& operator=(const SQStatement&) = delete;

    // The engine's statement; owned (a statement set here is taken over), released by close().
    sqlite3_stmt* statement() const { return m_statement.get(); }
    void setStatement(sqlite3_stmt* statement) { setStatement(SQStatementHandle(statement)); }
    void setStatement(SQStatementHandle statement);
    // How many parameters the statement has; read once, since every run asks.
    int parameterCount() const { return m_parameterCount; }
    // The SQL text it was prepared from, and its key in the cache.
    const std::string& query() const {
        static const std::string none;
        return m_query ? *m_query : none;
    }
    void setQuery(std::string query) {
        m_query = std::make_shared<const std::string>(std::move(query));
    }
    // The same text, for a closed result set of this statement to go on naming without a copy.
    const std::shared_ptr<const std::string>& sharedQuery() const { return m_query; }
    // How often the connection has handed it out.
    int64_t useCount() const { return m_useCount; }
    void setUseCount(int64_t useCount) { m_useCount = useCount; }
    // Whether a result set is reading it.
    bool inUse() const { return m_inUse; }
    void setInUse(bool inUse) { m_inUse = inUse; }

    // Finalizes the statement and frees it for reuse; harmless when repeated.
    void close();
    // Rewinds the statement to its first row (bindings stay) and frees it for reuse.
    void reset() {
        if (m_statement) sqlite3_reset(m_statement.get());
        m_inUse = false;
    }
    // "<SQStatement: 0x…> 3 hit(s) for query select …"
    std::string description() const;

  private:
    SQStatementHandle m_statement;
    std::shared_ptr<const std::string> m_query;  // null until set: reads as ""
    int m_parameterCount = 0;
    int64_t m_useCount = 0;
    bool m_inUse = false;
};
