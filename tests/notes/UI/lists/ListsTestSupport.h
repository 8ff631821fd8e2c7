#pragma once

#include <gtest/gtest.h>

#include <any>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "notes/UI/FileViewController.h"
#include "notes/UI/NoteNotifications.h"
#include "notes/UI/NoteViewController.h"
#include "notes/store/SQLite/DBUtil.h"
#include "platform/foundation/Bundle.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/NotificationCenter.h"
#include "platform/foundation/RunLoop.h"
#include "platform/ui/TableView.h"
#include "tests/notes/UI/ZelvoFolders.h"

// One notice as a panel saw it: the name and what its object held ("" for a flag notice without
// object, the note's number for a note, -1 for none).
struct SeenNotice {
    std::string name;
    std::optional<std::string> flag;
    NoteObjectPtr note;
};

// Listens to the panel notices for the length of a test.
class NoticeRecorder {
  public:
    NoticeRecorder() {
        for (const char* name : {NOTI_NOTE_FLAG_CHANGED, NOTI_NOTE_SELECTION_CHANGED}) {
            m_tokens.push_back(platform::NotificationCenter::defaultCenter().addObserver(
                name, [this](const platform::Notification& n) {
                    SeenNotice seen{n.name, std::nullopt, nullptr};
                    if (const auto* flag = n.objectAs<std::string>()) seen.flag = *flag;
                    if (const auto* note = n.objectAs<NoteObjectPtr>()) seen.note = *note;
                    notices.push_back(seen);
                }));
        }
    }
    ~NoticeRecorder() {
        for (auto token : m_tokens)
            platform::NotificationCenter::defaultCenter().removeObserver(token);
    }
    std::vector<SeenNotice> named(const std::string& name) const {
        std::vector<SeenNotice> out;
        for (const auto& n : notices)
            if (n.name == name) out.push_back(n);
        return out;
    }
    std::vector<SeenNotice> selections() const { return named(NOTI_NOTE_SELECTION_CHANGED); }

    std::vector<SeenNotice> notices;

  private:
    std::vector<platform::NotificationCenter::Token> m_tokens;
};

// A fresh notes database and the list resources, as a first launch sees them.
class ListsTest : public ::testing::Test {
  protected:
    ListsTest() { DBUtil::initDBDirectory(); }
    ~ListsTest() override {
        drainRunLoop();
        DBUtil::resetLocation();
    }

    static void drainRunLoop() {
        while (platform::RunLoop::mainRunLoop().iterate(false)) {
        }
    }

    // A stored note; the number SQLite gave it.
    static int32_t storeNote(const std::string& summary, const std::string& group, double seconds,
                             int recent = 0) {
        NoteObject note;
        note.setN_summary(summary);
        note.setN_text("<p>" + summary + "</p>");
        note.setN_date(platform::Date::dateWithTimeIntervalSince1970(seconds));
        note.setN_group(group);
        note.setN_isRecent(recent);
        EXPECT_TRUE(DBUtil::insertNote(&note));
        int32_t last = 0;
        for (const auto& row : DBUtil::getNotesWithFlag(group))
            last = std::max(last, row.at("n_id").intValue());
        return last;
    }

    static std::vector<int32_t> ids(const std::vector<DBUtil::NoteRow>& rows) {
        std::vector<int32_t> out;
        for (const auto& row : rows) out.push_back(row.at("n_id").intValue());
        return out;
    }

    ZelvoFolders folders{"zelvo-lists"};
    platform::LogCapture logs;
};
