#pragma once

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "platform/foundation/NotificationCenter.h"
#include "tests/notes/UI/ZelvoFolders.h"

// Counts the posts of some notices and keeps their objects, for the length of a test.
template <typename Object>
class PostRecorder {
  public:
    explicit PostRecorder(const std::vector<std::string>& observed) {
        for (const std::string& name : observed)
            m_tokens.push_back(platform::NotificationCenter::defaultCenter().addObserver(
                name, [this](const platform::Notification& n) {
                    names.push_back(n.name);
                    const Object* object = n.objectAs<Object>();
                    objects.push_back(object ? std::optional<Object>(*object) : std::nullopt);
                }));
    }
    ~PostRecorder() {
        for (auto token : m_tokens)
            platform::NotificationCenter::defaultCenter().removeObserver(token);
    }
    std::vector<std::string> names;
    std::vector<std::optional<Object>> objects;

  private:
    std::vector<platform::NotificationCenter::Token> m_tokens;
};
