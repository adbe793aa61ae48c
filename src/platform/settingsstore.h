#pragma once
// The per-user settings store: text values addressed by section and key, kept as plain
// text. The typed readers and writers on top of it are the shell's (shell/settings.h).

#include "common/result.h"

#include <QSettings>
#include <QString>

#include <cstdint>
#include <map>
#include <optional>
#include <utility>

namespace pavix::platform {

class SettingsStore {
public:
    virtual ~SettingsStore();

    // The stored text of the key, or nothing when the section or key is missing.
    virtual std::optional<QString> read(const QString &section, const QString &key) const = 0;
    // Stores the text, creating the section and key as needed.
    virtual void write(const QString &section, const QString &key, const QString &text) = 0;
    // Makes the written values durable; stores that keep nothing outside memory do nothing.
    virtual void sync() {}
};

// Where a store tells the user that its file could not be saved.
class SaveFailureReporter {
public:
    virtual ~SaveFailureReporter();
    // `message` names the file and the reason.
    virtual void reportSaveFailure(const QString &message) = 0;
};

// A store held in memory only, never written to disk: the map is open to inspection and
// seeding.
class MemorySettingsStore : public SettingsStore {
public:
    // (section, key) -> text
    using Map = std::map<std::pair<QString, QString>, QString>;

    std::optional<QString> read(const QString &section, const QString &key) const override;
    void write(const QString &section, const QString &key, const QString &text) override;

    const Map &values() const { return m_values; }
    Map &values() { return m_values; }

private:
    Map m_values;
};

// The store kept in an INI file through QSettings (IniFormat), by default
// $XDG_CONFIG_HOME/Pavix/Pavix.ini with the groups [Settings] and [Type]. Values are written
// as plain text and read back exactly; QSettings quotes a value that holds ";" or "," or
// blanks at either end and escapes line breaks and other control characters. The bytes of a
// name that is not UTF-8 (common/filename.h) are written as U+FFFD.
//
// A value typed by hand without quotes reads as the text after "=", blanks around it dropped,
// also when it holds ";" or "," (QSettings alone would cut it at the ";" or split it at the
// ","). Other groups and keys are kept; comments and the file's layout are not.
//
// A file the store cannot read as settings (over 4 MiB, or not text) is never written
// over: it is moved aside as "Pavix.ini.unreadable" (numbered when that exists) and the store starts
// on what it could read of it (nothing of a file too large), saying so in startNotice().
// A save that fails leaves the file as it was and is told, once, to the reporter.
class IniSettingsStore : public SettingsStore {
public:
    // The store at defaultPath() or the given file path. The first save that fails is told
    // to `failureReporter`; with none it is not told (flush() still says so).
    explicit IniSettingsStore(SaveFailureReporter *failureReporter = nullptr);
    explicit IniSettingsStore(QString path, SaveFailureReporter *failureReporter = nullptr);
    // Writes pending changes, like sync().
    ~IniSettingsStore() override;

    IniSettingsStore(const IniSettingsStore &) = delete;
    IniSettingsStore &operator=(const IniSettingsStore &) = delete;

    // $XDG_CONFIG_HOME/Pavix/Pavix.ini (the generic per-user configuration folder).
    static QString defaultPath();

    QString path() const { return m_path; }

    // The value of the key in the group; nothing when missing or not text.
    std::optional<QString> read(const QString &section, const QString &key) const override;
    // Stores the text. A write with an empty section or key, or one holding "/" (which
    // QSettings takes as a group separator), is ignored, since it could not be read back.
    void write(const QString &section, const QString &key, const QString &text) override;
    void sync() override;

    // Writes pending changes to the file (creating its folder). An error (ErrDeviceIo) when
    // QSettings reports the file could not be written or was malformed; the changes stay
    // pending.
    common::Status flush();

    // What the user should know of the file as it was found ("" when all is well): the
    // file could not be read and where it was moved.
    QString startNotice() const { return m_startNotice; }

private:
    void moveUnreadableAside(const QString &why);

    QString m_path;
    QSettings m_settings;
    QString m_startNotice;
    SaveFailureReporter *m_failureReporter;
    bool m_failureTold = false;
};

} // namespace pavix::platform
