#pragma once

#include <filesystem>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

#include "platform/foundation/PropertyList.h"

namespace platform {

// NSUserDefaults of one program. The values live in an XML property list,
// $XDG_CONFIG_HOME/<program>/defaults.plist (~/.config when the variable is unset), read at the
// first question and written atomically on every change, so another process sees a change at once.
// Every change, made here or (seen through a file monitor while the GLib main loop runs) by another
// process, posts "NSUserDefaultsDidChangeNotification" on the default notification centre.
// Nothing is registered: an absent key reads as 0, 0.0, NO or no object.
class UserDefaults {
  public:
    static constexpr const char* kDidChangeNotification = "NSUserDefaultsDidChangeNotification";

    // The running program's defaults (Bundle::mainBundle's program name).
    static UserDefaults& standardUserDefaults();
    // Forgets the shared instance, so a test can point $XDG_CONFIG_HOME elsewhere.
    static void resetStandardUserDefaults();

    // Defaults kept in the given file; with no file, in memory only.
    explicit UserDefaults(std::optional<std::filesystem::path> file);
    ~UserDefaults();
    UserDefaults(const UserDefaults&) = delete;
    UserDefaults& operator=(const UserDefaults&) = delete;

    const std::optional<std::filesystem::path>& file() const { return m_file; }

    std::optional<PropertyValue> objectForKey(const std::string& key) const;
    std::optional<std::string> stringForKey(const std::string& key) const;
    int64_t integerForKey(const std::string& key) const;
    double floatForKey(const std::string& key) const;
    bool boolForKey(const std::string& key) const;

    void setObject(const PropertyValue& value, const std::string& key);
    void setInteger(int64_t value, const std::string& key) { setObject(Value(value), key); }
    void setFloat(double value, const std::string& key) { setObject(Value(value), key); }
    void setBool(bool value, const std::string& key) { setObject(Value(value), key); }
    void removeObjectForKey(const std::string& key);

    // Every change is written at once, so this only re-reads the file, taking another process's
    // changes (with a notice when anything differs); whether the defaults are in step with it.
    bool synchronize();

    // Watches the file for other processes' changes (on the thread-default GLib main context).
    void startMonitoring();

  private:
    struct Monitor;
    void loadIfNeeded() const;
    bool save();
    void reloadFromFile();
    void postChange();
    std::optional<Value> scalarForKey(const std::string& key) const;

    std::optional<std::filesystem::path> m_file;
    mutable std::recursive_mutex m_mutex;
    mutable bool m_loaded = false;
    mutable PropertyValue::Dictionary m_values;
    std::unique_ptr<Monitor> m_monitor;
};

}  // namespace platform
