#pragma once
// Typed settings on top of the settings store: numbers as decimal text, truth values as
// "True" or "False" (settingsvalues.h). A reader gives the key's default for a missing key
// or a value that does not convert.

#include "platform/settingsstore.h"

#include <QString>

#include <cstdint>

namespace pavix::shell {

using platform::SettingsStore;

// Typed readers: the stored value converted to the type, or def when the key is missing or
// its text does not convert or is out of range.
float readSingle(const SettingsStore &store, const QString &section, const QString &key, float def);
std::int32_t readInt32(const SettingsStore &store, const QString &section, const QString &key, std::int32_t def);
bool readTruth(const SettingsStore &store, const QString &section, const QString &key, bool def);
// The stored text as it is (also when empty), or def when the key is missing.
QString readText(const SettingsStore &store, const QString &section, const QString &key, const QString &def);
// The list layout 0..3 from the leading number of the text; a missing key or a value
// outside 0..3 gives def (0 unless told).
std::int32_t readViewMode(const SettingsStore &store, const QString &section, const QString &key, std::int32_t def = 0);

// Writers: the value as the text the readers take back.
void writeSingle(SettingsStore &store, const QString &section, const QString &key, float value);
void writeInt(SettingsStore &store, const QString &section, const QString &key, qint64 value);
void writeTruth(SettingsStore &store, const QString &section, const QString &key, bool value);
void writeText(SettingsStore &store, const QString &section, const QString &key, const QString &text);

} // namespace pavix::shell
