#pragma once

#include <string>
#include <vector>

#include "platform/ui/Alert.h"
#include "platform/ui/Backends.h"

// Every alert run while this lives, kept instead of shown and answered with the button at index
// `answer`.
class RecordedAlerts {
  public:
    explicit RecordedAlerts(int answerIndex = 0) : answer(answerIndex) {
        m_installed->alerts = [this](const platform::Alert& alert) {
            shown.push_back(alert);
            return answer;
        };
    }
    RecordedAlerts(const RecordedAlerts&) = delete;
    RecordedAlerts& operator=(const RecordedAlerts&) = delete;

    int answer;
    std::vector<platform::Alert> shown;

  private:
    platform::ScopedBackends m_installed;
};
