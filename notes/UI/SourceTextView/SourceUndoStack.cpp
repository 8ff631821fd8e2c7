#include "notes/UI/SourceTextView/SourceUndoStack.h"

#include <utility>

namespace zelvo {

void SourceUndoStack::registerUndo(std::function<void()> operation) {
    if (m_mode == Mode::Undoing) {
        m_redo.push_back(std::move(operation));
        return;
    }
    if (m_mode == Mode::Normal) m_redo.clear();
    m_undo.push_back(std::move(operation));
}

void SourceUndoStack::undo() {
    runLast(m_undo, Mode::Undoing);
}

void SourceUndoStack::redo() {
    runLast(m_redo, Mode::Redoing);
}

void SourceUndoStack::runLast(std::vector<std::function<void()>>& stack, Mode mode) {
    if (stack.empty() || m_mode != Mode::Normal) return;
    std::function<void()> operation = std::move(stack.back());
    stack.pop_back();
    m_mode = mode;
    operation();
    m_mode = Mode::Normal;
}

void SourceUndoStack::removeAllActions() {
    m_undo.clear();
    m_redo.clear();
}

}  // namespace zelvo
