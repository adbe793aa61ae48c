#include "platform/settingsstore.h"

#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QStringList>
#include <QTextStream>
#include <QVariant>

namespace pavix::platform {

namespace {

// A settings file larger than this is not ours; it reads as empty.
constexpr qint64 MaxFileBytes = 4 * 1024 * 1024;

// QSettings takes "/" as a group separator, and an empty name as no name at all.
bool isStorableName(const QString &name)
{
    return !name.isEmpty() && !name.contains(u'/');
}

// QSettings reads an unquoted ";" as the start of a comment and an unquoted "," as a list
// separator: "Bitmap=*.bmp;", as typed by hand or written by Pavix's earlier INI writer,
// reads "*.bmp", and then no picture type counts as enabled. Such a value is set again as
// the whole text after "=", so that it reads as typed (and is written quoted at the next
// sync). Only values without quotes or backslashes are taken, and only where QSettings'
// own reading is exactly that text cut at the ";" or split at the ",".
void keepHandWrittenValues(QSettings &settings, const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return;
    QTextStream stream(&file); // UTF-8, like QSettings; drops a byte-order mark
    QString group;
    QString line;
    while (stream.readLineInto(&line)) {
        const QString trimmed = line.trimmed();
        if (trimmed.startsWith(u'[')) {
            // As QSettings reads a header: up to the first "]", or the line's end.
            const qsizetype close = trimmed.indexOf(u']');
            group = trimmed.mid(1, close < 0 ? -1 : close - 1).trimmed();
            continue;
        }
        const qsizetype equals = line.indexOf(u'=');
        const QString text = line.mid(equals + 1).trimmed();
        if (group.isEmpty() || equals < 0 || trimmed.startsWith(u';') || text.startsWith(u'@')
            || text.contains(u'"') || text.contains(u'\\')
            || !(text.contains(u';') || text.contains(u',')))
            continue;
        QStringList items = text.section(u';', 0, 0).split(u',');
        for (QString &item : items)
            item = item.trimmed();
        const QVariant asQSettingsReadsIt = items.size() == 1 ? QVariant(items.front()) : QVariant(items);
        const QString key = group + u'/' + line.left(equals).trimmed();
        if (settings.value(key) == asQSettingsReadsIt)
            settings.setValue(key, text);
    }
}

} // namespace

SettingsStore::~SettingsStore() = default;

std::optional<QString> MemorySettingsStore::read(const QString &section, const QString &key) const
{
    const auto it = m_values.find({section, key});
    if (it == m_values.end())
        return std::nullopt;
    return it->second;
}

void MemorySettingsStore::write(const QString &section, const QString &key, const QString &text)
{
    m_values[{section, key}] = text;
}

IniSettingsStore::IniSettingsStore() : IniSettingsStore(defaultPath()) {}

IniSettingsStore::IniSettingsStore(QString path)
    : m_path(std::move(path)), m_settings(m_path, QSettings::IniFormat)
{
    if (QFileInfo(m_path).size() > MaxFileBytes) {
        m_settings.clear();
        return;
    }
    // Parses every group now: a malformed file is QSettings' FormatError of this load, not
    // of a later sync.
    m_settings.allKeys();
    keepHandWrittenValues(m_settings, m_path);
}

IniSettingsStore::~IniSettingsStore()
{
    sync();
}

QString IniSettingsStore::defaultPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
        + QStringLiteral("/Pavix/Pavix.ini");
}

std::optional<QString> IniSettingsStore::read(const QString &section, const QString &key) const
{
    if (!isStorableName(section) || !isStorableName(key))
        return std::nullopt;
    const QVariant value = m_settings.value(section + u'/' + key);
    // Only a hand-written value with "," and quotes or backslashes is still a list here.
    if (value.typeId() == QMetaType::QStringList)
        return value.toStringList().join(QStringLiteral(", "));
    if (!value.isValid() || !value.canConvert<QString>())
        return std::nullopt;
    return value.toString();
}

void IniSettingsStore::write(const QString &section, const QString &key, const QString &text)
{
    if (isStorableName(section) && isStorableName(key))
        m_settings.setValue(section + u'/' + key, text); // a QString: stored as plain text
}

void IniSettingsStore::sync()
{
    flush();
}

common::Status IniSettingsStore::flush()
{
    // QSettings keeps the first error it met for the object's whole life. A fresh object
    // over the same file shares the pending changes (QSettings shares them within a
    // process), writes them, and reports on this attempt alone.
    QSettings attempt(m_path, QSettings::IniFormat);
    attempt.sync();
    switch (attempt.status()) {
    case QSettings::NoError:
        return common::Ok{};
    case QSettings::AccessError:
        return common::makeError(common::ErrDeviceIo, QStringLiteral("Cannot write %1").arg(m_path));
    case QSettings::FormatError:
        break;
    }
    return common::makeError(common::ErrDeviceIo,
                             QStringLiteral("%1 is not a well-formed settings file").arg(m_path));
}

} // namespace pavix::platform
