#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/ui/Alert.h"
#include "platform/ui/Backends.h"

// Every alert run or shown as a sheet while this lives, kept instead of shown and answered at once
// with the button at index `answer`.
class RecordedAlerts {
  public:
    explicit RecordedAlerts(int answerIndex = 0) : answer(answerIndex) {
        m_installed->alerts = [this](const platform::Alert& alert) {
            shown.push_back(alert);
            return answer;
        };
        m_installed->alertSheets = [this](const platform::Alert& alert,
                                          std::function<void(int)> answered) {
            shown.push_back(alert);
            answered(answer);
        };
    }
    RecordedAlerts(const RecordedAlerts&) = delete;
    RecordedAlerts& operator=(const RecordedAlerts&) = delete;

    int answer;
    std::vector<platform::Alert> shown;

  private:
    platform::ScopedBackends m_installed;
};
