#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "notes/store/json/JsonError.h"

namespace notes {

// What the writer and the parser share: the nesting limit and the error trace of the last
// operation.
class JsonBase {
  public:
    static constexpr std::uint64_t kDefaultMaxDepth = 512;
    // Nesting is never followed past this, whatever maxDepth says (0 included): each level costs
    // stack, and hostile input must not be able to exhaust it.
    static constexpr std::uint64_t kHardMaxDepth = 2048;

    JsonBase() = default;
    virtual ~JsonBase() = default;
    JsonBase(const JsonBase&) = default;
    JsonBase& operator=(const JsonBase&) = default;

    // The errors of the last operation; absent after a successful one.
    const std::optional<JsonErrorTrace>& errorTrace() const { return m_errorTrace; }
    // Appends an error whose underlying error is the previous last one.
    void addErrorWithCode(unsigned code, std::string_view description);
    void clearErrorTrace() { m_errorTrace.reset(); }

    // 0 means no limit of the caller's own (kHardMaxDepth still holds).
    virtual std::uint64_t maxDepth() const { return m_maxDepth; }
    virtual void setMaxDepth(std::uint64_t maxDepth) {
        m_maxDepth = maxDepth;
        m_depthLimit = limitFor(maxDepth);
    }

  protected:
    // One level of array or object nesting for as long as it lives. entered() is false, with error
    // 7 recorded, when the level goes past the limit.
    class Nesting {
      public:
        explicit Nesting(JsonBase& base)
            : m_base(base), m_entered(++base.m_depth <= base.m_depthLimit) {
            if (!m_entered) m_base.addNestedTooDeep();
        }
        ~Nesting() { leave(); }
        Nesting(const Nesting&) = delete;
        Nesting& operator=(const Nesting&) = delete;

        bool entered() const { return m_entered; }
        // Leaves the level early (the writer's closing indent is that of the outer level).
        void leave() {
            if (m_left) return;
            m_left = true;
            --m_base.m_depth;
        }

      private:
        JsonBase& m_base;
        bool m_entered = false;
        bool m_left = false;
    };

    std::uint64_t depth() const { return m_depth; }
    void resetDepth() { m_depth = 0; }
    void setErrorTrace(std::optional<JsonErrorTrace> trace) { m_errorTrace = std::move(trace); }

  private:
    static constexpr std::uint64_t limitFor(std::uint64_t maxDepth) {
        return maxDepth == 0 || maxDepth > kHardMaxDepth ? kHardMaxDepth : maxDepth;
    }
    void addNestedTooDeep();

    std::optional<JsonErrorTrace> m_errorTrace;
    std::uint64_t m_depth = 0;
    std::uint64_t m_maxDepth = kDefaultMaxDepth;
    std::uint64_t m_depthLimit = limitFor(kDefaultMaxDepth);  // the one Nesting checks
};

}  // namespace notes
