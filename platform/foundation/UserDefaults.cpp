#include "platform/foundation/UserDefaults.h"

#include <gio/gio.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "platform/foundation/Bundle.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/NotificationCenter.h"

namespace platform {

namespace {

std::filesystem::path configFolder() {
    if (const char* folder = std::getenv("XDG_CONFIG_HOME"); folder && *folder) return folder;
    if (const char* home = std::getenv("HOME"); home && *home) {
        return std::filesystem::path(home) / ".config";
    }
    return std::filesystem::temp_directory_path();
}

std::unique_ptr<UserDefaults>& standardInstance() {
    static std::unique_ptr<UserDefaults> instance;
    return instance;
}

// What the file holds now: empty when it is missing or unreadable, so the defaults serve.
PropertyValue::Dictionary readValues(const std::filesystem::path& file) {
    auto contents = PropertyList::read(file);
    if (contents && contents->dictionary()) return *contents->dictionary();
    std::error_code error;
    if (std::filesystem::exists(file, error)) {
        logf("%s is not a property-list dictionary; the defaults are used", file.c_str());
    }
    return {};
}

}  // namespace

struct UserDefaults::Monitor {
    GFileMonitor* monitor = nullptr;
    gulong handler = 0;
    ~Monitor() {
        if (!monitor) return;
        g_signal_handler_disconnect(monitor, handler);
        g_file_monitor_cancel(monitor);
        g_object_unref(monitor);
    }
};

UserDefaults& UserDefaults::standardUserDefaults() {
    static std::mutex creation;
    std::lock_guard lock(creation);
    auto& instance = standardInstance();
    if (!instance) {
        const std::string& program = Bundle::mainBundle().programName();
        instance = std::make_unique<UserDefaults>(configFolder() / program / "defaults.plist");
        instance->startMonitoring();
    }
    return *instance;
}

void UserDefaults::resetStandardUserDefaults() {
    standardInstance().reset();
}

UserDefaults::UserDefaults(std::optional<std::filesystem::path> file) : m_file(std::move(file)) {}

UserDefaults::~UserDefaults() = default;

void UserDefaults::loadIfNeeded() const {
    std::lock_guard lock(m_mutex);
    if (m_loaded) return;
    m_loaded = true;
    if (m_file) m_values = readValues(*m_file);
}

std::optional<PropertyValue> UserDefaults::objectForKey(const std::string& key) const {
    loadIfNeeded();
    std::lock_guard lock(m_mutex);
    auto found = m_values.find(key);
    if (found == m_values.end()) return std::nullopt;
    return found->second;
}

std::optional<Value> UserDefaults::scalarForKey(const std::string& key) const {
    auto object = objectForKey(key);
    if (!object || !object->scalar()) return std::nullopt;
    return *object->scalar();
}

std::optional<std::string> UserDefaults::stringForKey(const std::string& key) const {
    auto value = scalarForKey(key);
    if (!value) return std::nullopt;
    if (const std::string* text = value->text()) return *text;
    if (value->isNumber()) return value->description();
    return std::nullopt;
}

int64_t UserDefaults::integerForKey(const std::string& key) const {
    auto value = scalarForKey(key);
    return value ? value->longLongValue() : 0;
}

double UserDefaults::floatForKey(const std::string& key) const {
    auto value = scalarForKey(key);
    return value ? value->doubleValue() : 0.0;
}

bool UserDefaults::boolForKey(const std::string& key) const {
    auto value = scalarForKey(key);
    return value ? value->boolValue() : false;
}

void UserDefaults::setObject(const PropertyValue& value, const std::string& key) {
    {
        std::lock_guard lock(m_mutex);
        loadIfNeeded();
        // Take another process's latest values first, so a change here never undoes one there.
        if (m_file) m_values = readValues(*m_file);
        m_values[key] = value;
        save();
    }
    postChange();
}

void UserDefaults::removeObjectForKey(const std::string& key) {
    {
        std::lock_guard lock(m_mutex);
        loadIfNeeded();
        if (m_file) m_values = readValues(*m_file);
        if (m_values.erase(key) == 0) return;
        save();
    }
    postChange();
}

bool UserDefaults::save() {
    if (!m_file) return true;
    std::error_code error;
    std::filesystem::create_directories(m_file->parent_path(), error);
    if (PropertyList::write(PropertyValue(m_values), *m_file)) return true;
    logf("UserDefaults: cannot write %s: %s", m_file->c_str(), std::strerror(errno));
    return false;
}

void UserDefaults::reloadFromFile() {
    if (!m_file) return;
    bool changed = false;
    {
        std::lock_guard lock(m_mutex);
        auto values = readValues(*m_file);
        m_loaded = true;
        if (values != m_values) {
            m_values = std::move(values);
            changed = true;
        }
    }
    if (changed) postChange();
}

bool UserDefaults::synchronize() {
    loadIfNeeded();
    reloadFromFile();
    return true;
}

void UserDefaults::postChange() {
    NotificationCenter::defaultCenter().postNotificationName(kDidChangeNotification,
                                                             std::any(this));
}

void UserDefaults::startMonitoring() {
    if (!m_file || m_monitor) return;
    std::error_code error;
    std::filesystem::create_directories(m_file->parent_path(), error);
    GFile* file = g_file_new_for_path(m_file->c_str());
    GFileMonitor* monitor = g_file_monitor_file(file, G_FILE_MONITOR_WATCH_MOVES, nullptr, nullptr);
    g_object_unref(file);
    if (!monitor) return;
    m_monitor = std::make_unique<Monitor>();
    m_monitor->monitor = monitor;
    auto changed = +[](GFileMonitor*, GFile*, GFile*, GFileMonitorEvent, gpointer self) {
        static_cast<UserDefaults*>(self)->reloadFromFile();
    };
    m_monitor->handler = g_signal_connect(monitor, "changed", G_CALLBACK(changed), this);
}

}  // namespace platform
