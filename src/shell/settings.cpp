#include "shell/settings.h"

#include "shell/settingsvalues.h"

namespace pavix::shell {

float readSingle(const SettingsStore &store, const QString &section, const QString &key, float def)
{
    const auto text = store.read(section, key);
    return text ? singleFromText(*text).value_or(def) : def;
}

std::int32_t readInt32(const SettingsStore &store, const QString &section, const QString &key, std::int32_t def)
{
    const auto text = store.read(section, key);
    return text ? int32FromText(*text).value_or(def) : def;
}

bool readTruth(const SettingsStore &store, const QString &section, const QString &key, bool def)
{
    const auto text = store.read(section, key);
    return text ? truthFromText(*text).value_or(def) : def;
}

QString readText(const SettingsStore &store, const QString &section, const QString &key, const QString &def)
{
    return store.read(section, key).value_or(def);
}

std::int32_t readViewMode(const SettingsStore &store, const QString &section, const QString &key, std::int32_t def)
{
    const auto text = store.read(section, key);
    if (!text)
        return def;
    const std::int32_t mode = viewModeFromText(*text);
    return mode >= 0 && mode <= 3 ? mode : def;
}

void writeSingle(SettingsStore &store, const QString &section, const QString &key, float value)
{
    store.write(section, key, textFromSingle(value));
}

void writeInt(SettingsStore &store, const QString &section, const QString &key, qint64 value)
{
    store.write(section, key, textFromInt(value));
}

void writeTruth(SettingsStore &store, const QString &section, const QString &key, bool value)
{
    store.write(section, key, textFromTruth(value));
}

void writeText(SettingsStore &store, const QString &section, const QString &key, const QString &text)
{
    store.write(section, key, text);
}

} // namespace pavix::shell
