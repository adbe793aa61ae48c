#include "platform/settingsstore.h"

#include "common/filename.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>
#include <QStringDecoder>
#include <QStringList>
#include <QTemporaryDir>
#include <QTextStream>
#include <QVariant>

#include <functional>

namespace pavix::platform {

namespace {

// A settings file larger than this is not ours; it reads as empty.
constexpr qint64 MaxFileBytes = qint64(4) * 1024 * 1024;

// QSettings takes "/" as a group separator, and an empty name as no name at all.
bool isStorableName(const QString &name)
{
    return !name.isEmpty() && !name.contains(u'/');
}

// One line of a settings file as QSettings reads it: a group header, or a line of the group
// named (empty before the first header), with the place of its first "=" (-1 without).
struct IniLine {
    QString group;
    QString text;
    bool header = false;
    qsizetype equals = -1;
    // A "key=value" line inside a group, not a comment.
    bool isValueInGroup() const
    {
        return !header && !group.isEmpty() && equals >= 0 && !text.trimmed().startsWith(u';');
    }
};

// Calls visit for every line of the settings file's bytes.
void forEachIniLine(const QByteArray &bytes, const std::function<void(const IniLine &line)> &visit)
{
    QTextStream stream(bytes); // UTF-8, like QSettings; drops the file's byte-order mark
    IniLine line;
    while (stream.readLineInto(&line.text)) {
        const QString trimmed = line.text.trimmed();
        line.header = trimmed.startsWith(u'[');
        if (line.header) {
            // As QSettings reads a header: up to the first "]", or the line's end.
            const qsizetype close = trimmed.indexOf(u']');
            line.group = trimmed.mid(1, close < 0 ? -1 : close - 1).trimmed();
        }
        line.equals = line.header ? -1 : line.text.indexOf(u'=');
        visit(line);
    }
}

// QSettings reads an unquoted ";" as the start of a comment and an unquoted "," as a list
// separator: "Bitmap=*.bmp;", as typed by hand or written by Pavix's earlier INI writer,
// reads "*.bmp", and then no picture type counts as enabled. Such a value is set again as
// the whole text after "=", so that it reads as typed (and is written quoted at the next
// sync). Only values without quotes or backslashes are taken, and only where QSettings'
// own reading is exactly that text cut at the ";" or split at the ",".
void keepHandWrittenValues(QSettings &settings, const QByteArray &bytes)
{
    forEachIniLine(bytes, [&settings](const IniLine &line) {
        const QString text = line.text.mid(line.equals + 1).trimmed();
        if (!line.isValueInGroup() || text.startsWith(u'@') || text.contains(u'"') || text.contains(u'\\')
            || !(text.contains(u';') || text.contains(u',')))
            return;
        QStringList items = text.section(u';', 0, 0).split(u',');
        for (QString &item : items)
            item = item.trimmed();
        const QVariant asQSettingsReadsIt = items.size() == 1 ? QVariant(items.front()) : QVariant(items);
        const QString key = line.group + u'/' + line.text.left(line.equals).trimmed();
        if (settings.value(key) == asQSettingsReadsIt)
            settings.setValue(key, text);
    });
}

bool isHexDigit(QChar c)
{
    return (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F');
}

// The value part of an INI line with each zero-width no-break space (U+FEFF) written as the
// escape "\xfeff", and the hex digits right after it escaped too, so that none is taken
// into the escape.
QString escapeZeroWidthNoBreakSpaces(const QString &text)
{
    QString escaped;
    bool afterEscape = false;
    for (const QChar c : text) {
        if (c == QChar(0xFEFF)) {
            escaped += QStringLiteral("\\xfeff");
            afterEscape = true;
        } else if (afterEscape && isHexDigit(c)) {
            escaped += QStringLiteral("\\x%1").arg(c.unicode(), 0, 16);
        } else {
            escaped += c;
            afterEscape = false;
        }
    }
    return escaped;
}

// QSettings reads the raw text between escapes, quotes and commas piece by piece, and drops a
// zero-width no-break space (U+FEFF) that begins a piece as if it were a byte-order mark, yet
// writes such a value as it is: a folder named "\u0004\uFEFFx" would come back as
// "\u0004x". Values holding the character are read again from a copy of their lines in which
// each is an escape, and set as that copy reads them.
void keepZeroWidthNoBreakSpaces(QSettings &settings, const QByteArray &bytes)
{
    QString copy;
    forEachIniLine(bytes, [&copy](const IniLine &line) {
        if (line.header)
            copy += line.text + u'\n';
        else if (line.isValueInGroup() && line.text.mid(line.equals).contains(QChar(0xFEFF)))
            copy += line.text.left(line.equals + 1) + escapeZeroWidthNoBreakSpaces(line.text.mid(line.equals + 1))
                    + u'\n';
    });
    if (!copy.contains(u'='))
        return;
    QTemporaryDir folder;
    if (!folder.isValid())
        return;
    const QString copyPath = folder.filePath(QStringLiteral("marks.ini"));
    QFile copyFile(copyPath);
    if (!copyFile.open(QIODevice::WriteOnly) || copyFile.write(copy.toUtf8()) < 0)
        return;
    copyFile.close();
    const QSettings escaped(copyPath, QSettings::IniFormat);
    const auto withoutMarks = [](QString text) { return text.remove(QChar(0xFEFF)); };
    for (const QString &key : escaped.allKeys()) {
        const QVariant value = escaped.value(key);
        const QVariant read = settings.value(key);
        // Only the marks may differ: what else QSettings made of the line stays.
        if (value.typeId() == QMetaType::QString && read.typeId() == QMetaType::QString && read != value
            && withoutMarks(read.toString()) == withoutMarks(value.toString()))
            settings.setValue(key, value);
    }
}

// True for UTF-8 text without NUL bytes.
bool isText(const QByteArray &bytes)
{
    if (bytes.contains('\0'))
        return false;
    QStringDecoder decoder(QStringDecoder::Utf8);
    [[maybe_unused]] const QString text = decoder.decode(bytes);
    return !decoder.hasError();
}

// Why the settings could not be saved, as far as the file system tells.
QString saveFailureMessage(const QString &path)
{
    const QFileInfo file(path);
    const QFileInfo folder(file.absolutePath());
    QString reason;
    if (folder.exists() && !folder.isWritable())
        reason = QCoreApplication::translate("pavix::platform", "its folder %1 cannot be written to")
                     .arg(folder.absoluteFilePath());
    else if (!folder.exists())
        reason = QCoreApplication::translate("pavix::platform", "its folder %1 cannot be made")
                     .arg(folder.absoluteFilePath());
    else if (file.exists() && !file.isWritable())
        reason = QCoreApplication::translate("pavix::platform", "the file is read-only");
    else
        reason = QCoreApplication::translate("pavix::platform", "the disk refused the write (it may be full)");
    return QCoreApplication::translate(
               "pavix::platform", "Pavix could not save its settings to %1: %2. The file keeps the settings it had; "
                                  "the changes of this session are not kept.")
        .arg(path, reason);
}

} // namespace

SettingsStore::~SettingsStore() = default;
SaveFailureReporter::~SaveFailureReporter() = default;

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

IniSettingsStore::IniSettingsStore(SaveFailureReporter *failureReporter)
    : IniSettingsStore(defaultPath(), failureReporter)
{
}

IniSettingsStore::IniSettingsStore(QString path, SaveFailureReporter *failureReporter)
    : m_path(std::move(path)), m_settings(m_path, QSettings::IniFormat), m_failureReporter(failureReporter)
{
    if (QFileInfo(m_path).size() > MaxFileBytes) {
        m_settings.clear();
        moveUnreadableAside(QCoreApplication::translate("pavix::platform", "it is too large to be a settings file"));
        return;
    }
    // Parses every group now: a malformed file is QSettings' FormatError of this load, not
    // of a later sync.
    m_settings.allKeys();
    // The file's own text, read once, for what QSettings does not read as written.
    QByteArray bytes;
    if (QFile file(m_path); file.open(QIODevice::ReadOnly))
        bytes = file.read(MaxFileBytes);
    keepHandWrittenValues(m_settings, bytes);
    keepZeroWidthNoBreakSpaces(m_settings, bytes);
    // A file that is not text at all is not the user's settings as typed: what could be
    // read of it is kept, and the file itself is moved aside rather than written over.
    if (!isText(bytes))
        moveUnreadableAside(QCoreApplication::translate("pavix::platform", "it is not a text file"));
}

void IniSettingsStore::moveUnreadableAside(const QString &why)
{
    QString aside = m_path + QStringLiteral(".unreadable");
    for (int n = 2; QFileInfo::exists(aside); ++n)
        aside = m_path + QStringLiteral(".unreadable-%1").arg(n);
    if (QFile::rename(m_path, aside))
        m_startNotice =
            QCoreApplication::translate("pavix::platform",
                                        "Pavix could not read its settings file %1: %2. The file was kept as %3, and "
                                        "Pavix starts on its defaults for what it could not read.")
                .arg(m_path, why, aside);
    else
        m_startNotice =
            QCoreApplication::translate("pavix::platform",
                                        "Pavix could not read its settings file %1: %2. It starts on its defaults "
                                        "for what it could not read.")
                .arg(m_path, why);
}

IniSettingsStore::~IniSettingsStore()
{
    IniSettingsStore::sync();
}

QString IniSettingsStore::defaultPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + QStringLiteral("/Pavix/Pavix.ini");
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
    if (!isStorableName(section) || !isStorableName(key))
        return;
    // A QString: stored as plain text. A byte of a name that is not UTF-8 cannot be written
    // as text (QSettings would drop it, and the path could name another folder): it is
    // written as U+FFFD.
    m_settings.setValue(section + u'/' + key, common::withUnpairedSurrogatesReplaced(text));
}

void IniSettingsStore::sync()
{
    const common::Status saved = flush();
    if (!saved && m_failureReporter && !m_failureTold) {
        m_failureTold = true;
        m_failureReporter->reportSaveFailure(saved.error().message);
    }
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
        return common::makeError(common::ErrDeviceIo, saveFailureMessage(m_path));
    case QSettings::FormatError:
        break;
    }
    return common::makeError(
        common::ErrDeviceIo,
        QCoreApplication::translate("pavix::platform", "%1 is not a well-formed settings file").arg(m_path));
}

} // namespace pavix::platform
