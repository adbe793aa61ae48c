#include "shell/settingsstore.h"

#include "shell/settingsvalues.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

#include <iterator>

namespace pavix::shell {

namespace {

// A settings file larger than this is not ours to parse; it reads as empty.
constexpr qint64 MaxFileBytes = 4 * 1024 * 1024;

bool isControl(QChar c) { return c.unicode() < 0x20 || c.unicode() == 0x7f; }

bool isPlainName(const QString &name)
{
    if (name.isEmpty() || name != name.trimmed())
        return false;
    for (const QChar c : name) {
        if (isControl(c))
            return false;
    }
    return true;
}

bool isValidSection(const QString &section) { return isPlainName(section); }

bool isValidKey(const QString &key)
{
    return isPlainName(key) && !key.contains(u'=') && !key.startsWith(u'[')
        && !key.startsWith(u';') && !key.startsWith(u'#');
}

// Plain text is read back trimmed, so only values that would not survive that (or a line
// break) need quotes.
bool needsQuotes(const QString &value)
{
    if (value.isEmpty())
        return false;
    if (value.front().isSpace() || value.back().isSpace() || value.front() == u'"')
        return true;
    for (const QChar c : value) {
        if (isControl(c))
            return true;
    }
    return false;
}

QString encodeValue(const QString &value)
{
    if (!needsQuotes(value))
        return value;
    QString out;
    out.reserve(value.size() + 2);
    out += u'"';
    for (const QChar c : value) {
        switch (c.unicode()) {
        case u'\\': out += QStringLiteral("\\\\"); break;
        case u'"': out += QStringLiteral("\\\""); break;
        case u'\n': out += QStringLiteral("\\n"); break;
        case u'\r': out += QStringLiteral("\\r"); break;
        case u'\t': out += QStringLiteral("\\t"); break;
        default:
            if (isControl(c))
                out += QStringLiteral("\\x%1").arg(c.unicode(), 2, 16, QLatin1Char('0'));
            else
                out += c;
        }
    }
    out += u'"';
    return out;
}

int hexDigit(QChar c)
{
    if (c >= u'0' && c <= u'9')
        return c.unicode() - u'0';
    if (c >= u'a' && c <= u'f')
        return c.unicode() - u'a' + 10;
    if (c >= u'A' && c <= u'F')
        return c.unicode() - u'A' + 10;
    return -1;
}

// The quoted form without its quotes and escapes; nothing when it is not well formed.
std::optional<QString> unquote(const QString &quoted)
{
    QString out;
    const qsizetype last = quoted.size() - 1;
    for (qsizetype i = 1; i <= last; ++i) {
        const QChar c = quoted[i];
        if (c == u'"')
            return i == last ? std::optional<QString>(out) : std::nullopt;
        if (c != u'\\') {
            out += c;
            continue;
        }
        if (++i > last)
            return std::nullopt;
        switch (quoted[i].unicode()) {
        case u'\\': out += u'\\'; break;
        case u'"': out += u'"'; break;
        case u'n': out += u'\n'; break;
        case u'r': out += u'\r'; break;
        case u't': out += u'\t'; break;
        case u'x': {
            if (i + 2 > last)
                return std::nullopt;
            const int high = hexDigit(quoted[i + 1]);
            const int low = hexDigit(quoted[i + 2]);
            if (high < 0 || low < 0)
                return std::nullopt;
            out += QChar(char16_t(high * 16 + low));
            i += 2;
            break;
        }
        default:
            return std::nullopt;
        }
    }
    return std::nullopt; // no closing quote
}

// A value as found after '=': blanks around it dropped, a quoted value unescaped. A quoted
// value that is not well formed is taken as it stands.
QString decodeValue(const QString &raw)
{
    const QString trimmed = raw.trimmed();
    if (trimmed.size() >= 2 && trimmed.front() == u'"' && trimmed.back() == u'"') {
        if (auto value = unquote(trimmed))
            return *value;
    }
    return trimmed;
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

IniSettingsStore::IniSettingsStore(QString path) : m_path(std::move(path))
{
    load();
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

void IniSettingsStore::load()
{
    m_groups.clear();
    m_groups.push_back(Group{}); // the lines before the first header

    QFile file(m_path);
    if (!file.open(QIODevice::ReadOnly) || file.size() > MaxFileBytes)
        return;
    QByteArray bytes = file.read(MaxFileBytes + 1);
    if (bytes.size() > MaxFileBytes)
        return;
    if (bytes.startsWith("\xEF\xBB\xBF"))
        bytes.remove(0, 3);

    QStringList lines = QString::fromUtf8(bytes).split(u'\n');
    if (!lines.isEmpty() && lines.back().isEmpty())
        lines.removeLast(); // the file's final line break
    for (QString &text : lines) {
        if (text.endsWith(u'\r'))
            text.chop(1);
        const QString trimmed = text.trimmed();
        if (trimmed.size() >= 2 && trimmed.front() == u'[' && trimmed.back() == u']') {
            Group group;
            group.name = trimmed.mid(1, trimmed.size() - 2).trimmed();
            group.hasHeader = true;
            group.header = text;
            m_groups.push_back(std::move(group));
            continue;
        }
        Line line;
        line.raw = text;
        const bool comment = trimmed.startsWith(u';') || trimmed.startsWith(u'#');
        const qsizetype eq = text.indexOf(u'=');
        if (m_groups.back().hasHeader && !comment && eq > 0) {
            const QString key = text.left(eq).trimmed();
            if (!key.isEmpty()) {
                line.key = key;
                line.value = decodeValue(text.mid(eq + 1));
            }
        }
        m_groups.back().lines.push_back(std::move(line));
    }
}

const IniSettingsStore::Line *IniSettingsStore::findEntry(const QString &section,
                                                          const QString &key) const
{
    for (const Group &group : m_groups) {
        if (!group.hasHeader || group.name != section)
            continue;
        for (const Line &line : group.lines) {
            if (!line.key.isEmpty() && line.key == key)
                return &line;
        }
    }
    return nullptr;
}

IniSettingsStore::Line *IniSettingsStore::findEntry(const QString &section, const QString &key)
{
    return const_cast<Line *>(std::as_const(*this).findEntry(section, key));
}

std::optional<QString> IniSettingsStore::read(const QString &section, const QString &key) const
{
    if (const Line *line = findEntry(section, key))
        return line->value;
    return std::nullopt;
}

void IniSettingsStore::write(const QString &section, const QString &key, const QString &text)
{
    if (!isValidSection(section) || !isValidKey(key))
        return;
    const QString raw = key + u'=' + encodeValue(text);
    if (Line *line = findEntry(section, key)) {
        if (line->value == text)
            return;
        line->value = text;
        line->raw = raw;
        m_dirty = true;
        return;
    }

    Group *group = nullptr;
    for (Group &candidate : m_groups) {
        if (candidate.hasHeader && candidate.name == section) {
            group = &candidate;
            break;
        }
    }
    if (!group) {
        // A new group goes at the end, after a blank line when something comes before it.
        Group &last = m_groups.back();
        const bool empty = m_groups.size() == 1 && last.lines.empty();
        if (!empty && (last.lines.empty() || !last.lines.back().raw.trimmed().isEmpty()))
            last.lines.push_back(Line{});
        Group added;
        added.name = section;
        added.hasHeader = true;
        added.header = u'[' + section + u']';
        m_groups.push_back(std::move(added));
        group = &m_groups.back();
    }

    // A new key goes after the group's last non-blank line, so blank lines stay between
    // groups.
    auto insertAt = group->lines.end();
    while (insertAt != group->lines.begin() && std::prev(insertAt)->raw.trimmed().isEmpty())
        --insertAt;
    group->lines.insert(insertAt, Line{raw, key, text});
    m_dirty = true;
}

QByteArray IniSettingsStore::serialize() const
{
    QString text;
    for (const Group &group : m_groups) {
        if (group.hasHeader) {
            text += group.header;
            text += u'\n';
        }
        for (const Line &line : group.lines) {
            text += line.raw;
            text += u'\n';
        }
    }
    return text.toUtf8();
}

void IniSettingsStore::sync()
{
    flush();
}

common::Status IniSettingsStore::flush()
{
    if (!m_dirty)
        return common::Ok{};
    const QString folder = QFileInfo(m_path).absolutePath();
    if (!QDir().mkpath(folder)) {
        return common::makeError(common::ErrDeviceIo,
                                 QStringLiteral("Cannot create the folder %1").arg(folder));
    }
    QSaveFile file(m_path);
    if (!file.open(QIODevice::WriteOnly)) {
        return common::makeError(common::ErrDeviceIo, QStringLiteral("Cannot write %1: %2")
                                                          .arg(m_path, file.errorString()));
    }
    const QByteArray bytes = serialize();
    if (file.write(bytes) != bytes.size() || !file.commit()) {
        const QString reason = file.errorString();
        file.cancelWriting();
        return common::makeError(common::ErrDeviceIo,
                                 QStringLiteral("Cannot write %1: %2").arg(m_path, reason));
    }
    m_dirty = false;
    return common::Ok{};
}

float readSingle(const SettingsStore &store, const QString &section, const QString &key,
                 float def)
{
    const auto text = store.read(section, key);
    return text ? singleFromText(*text).value_or(def) : def;
}

std::int32_t readInt16(const SettingsStore &store, const QString &section, const QString &key,
                       std::int32_t def)
{
    const auto text = store.read(section, key);
    if (!text)
        return def;
    const auto value = int16FromText(*text);
    return value ? std::int32_t(*value) : def;
}

std::int32_t readInt32(const SettingsStore &store, const QString &section, const QString &key,
                       std::int32_t def)
{
    const auto text = store.read(section, key);
    return text ? int32FromText(*text).value_or(def) : def;
}

bool readTruth(const SettingsStore &store, const QString &section, const QString &key, bool def)
{
    const auto text = store.read(section, key);
    return text ? truthFromText(*text).value_or(def) : def;
}

QString readText(const SettingsStore &store, const QString &section, const QString &key,
                 const QString &def)
{
    return store.read(section, key).value_or(def);
}

std::int32_t readViewMode(const SettingsStore &store, const QString &section,
                          const QString &key, std::int32_t def)
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

void writeText(SettingsStore &store, const QString &section, const QString &key,
               const QString &text)
{
    store.write(section, key, text);
}

} // namespace pavix::shell
