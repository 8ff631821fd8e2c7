#pragma once

#include <functional>
#include <vector>

namespace zelvo {

// NSUndoManager reduced to what the source view needs: an operation registered while undoing goes
// to the redo stack, one registered while redoing (or at any other time) to the undo stack, and a
// fresh registration outside undo and redo clears what could be redone.
class SourceUndoStack {
  public:
    void registerUndo(std::function<void()> operation);
    bool canUndo() const { return !m_undo.empty(); }
    bool canRedo() const { return !m_redo.empty(); }
    void undo();
    void redo();
    void removeAllActions();

  private:
    enum class Mode { Normal, Undoing, Redoing };
    void runLast(std::vector<std::function<void()>>& stack, Mode mode);
    std::vector<std::function<void()>> m_undo, m_redo;
    Mode m_mode = Mode::Normal;
};

}  // namespace zelvo
