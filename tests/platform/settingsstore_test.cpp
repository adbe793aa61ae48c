// The settings file: values kept through QSettings as plain text that reads back exactly.
#include "catalogue/typepatterns.h"
#include "platform/settingsstore.h"
#include "shell/settings.h"
#include "shell/settingskeys.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <utility>
#include <vector>

using namespace pavix::shell;
using pavix::platform::IniSettingsStore;
using pavix::platform::MemorySettingsStore;

namespace {

QString fileText(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QStringLiteral("<unreadable>");
    return QString::fromUtf8(file.readAll());
}

void putFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    ASSERT_EQ(file.write(bytes), bytes.size());
}

} // namespace

namespace {

struct Value {
    QString section;
    QString key;
    QString text;
};

// Every kind of text the program stores, and the awkward ones a user could give it.
const std::vector<Value> &awkwardValues()
{
    static const std::vector<Value> values = {
        {"Type", "Bitmap", "*.bmp;"},
        {"Type", "Jpg", "*.jpeg;*.jpg;"},
        {"Type", "Gif", "&;"},
        {"Type", "Ico", ""},
        {"Settings", "Tbaron", "True"},
        {"Settings", "Pvon", "False"},
        {"Settings", "MainLeft", "1234.5"},
        {"Settings", "IsaLeft", "-36000"},
        {"Settings", "Folder", "/home/u/My Pictures, 2024;#1=x"},
        {"Settings", "Comma", "/srv/a,b"},
        {"Settings", "Back", "C:\\"},
        {"Settings", "Bracket", "[Type]"},
        {"Settings", "Comment", ";not a comment"},
        {"Settings", "Hash", "#not either"},
        {"Settings", "Equals", "a=b"},
        {"Settings", "Inner", "say \"cheese\""},
        {"Settings", "Umlaut", "/home/jürgen/Bilder/日本"},
        {"Settings", "At", "@Variant(x)"},
        {"Settings", "Lead", "  leading"},
        {"Settings", "Trail", "trailing  "},
        {"Settings", "Tab", "\tx\t"},
        {"Settings", "OnlySpaces", "   "},
        {"Settings", "Quoted", "\"quoted\""},
        {"Settings", "OpenQuote", "\"open"},
        {"Settings", "Lines", "one\ntwo\r\nthree"},
        {"Settings", "Control", QString("a") + QChar(1) + "b\\"},
    };
    return values;
}

} // namespace

TEST(IniSettingsStore, AwkwardTextsRoundTripThroughTheFileAsPlainText)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath("cfg/Pavix/Pavix.ini"); // folders made on demand
    {
        IniSettingsStore store(path);
        for (const Value &value : awkwardValues())
            store.write(value.section, value.key, value.text);
        EXPECT_TRUE(store.flush().ok());
    }
    IniSettingsStore again(path);
    for (const Value &value : awkwardValues())
        EXPECT_EQ(again.read(value.section, value.key), std::optional<QString>(value.text)) << value.key.toStdString();

    // The file is text a person can read and edit: QSettings quotes a value that holds ";"
    // or "," or blanks at either end, escapes line breaks, and doubles a leading "@" so that
    // no value is taken for a variant.
    const QString text = fileText(path);
    for (const char *line :
         {"[Settings]\n", "[Type]\n", "Bitmap=\"*.bmp;\"\n", "Jpg=\"*.jpeg;*.jpg;\"\n", "Gif=\"&;\"\n", "Ico=\n",
          "Tbaron=True\n", "Pvon=False\n", "MainLeft=1234.5\n", "IsaLeft=-36000\n",
          "Folder=\"/home/u/My Pictures, 2024;#1=x\"\n", "Equals=\"a=b\"\n", "Hash=#not either\n",
          "Lead=\"  leading\"\n", "At=@@Variant(x)\n", "Lines=one\\ntwo\\r\\nthree\n"}) {
        EXPECT_TRUE(text.contains(QString::fromUtf8(line))) << line;
    }
    EXPECT_TRUE(text.contains(QString::fromUtf8("Umlaut=/home/jürgen/Bilder/日本\n")));
    EXPECT_FALSE(text.contains("=@Variant(")) << qPrintable(text);
    EXPECT_FALSE(text.contains("=@ByteArray(")) << qPrintable(text);
}

// QSettings shares what it read of a file within the process, so a value read back from the
// same path may never have been read from the disk; a copy under another name is.
TEST(IniSettingsStore, AValueBeginningWithAZeroWidthNoBreakSpaceKeepsIt)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString mark(QChar(0xFEFF));
    const std::vector<QString> texts = {mark + "/home/u/Pictures", mark,
                                        mark + mark + "x",         mark + "a\\b;c",
                                        mark + "  padded  ",       "/in" + mark + "side"};
    // A settings file found by fuzzing: two byte-order marks, then a value written back
    // from its first line.
    const QByteArray found("\xef\xbb\xbf\xef\xbb\xbf[Set]N10_D_cxxabivy(\\0\\x1)\n[Settings]\nPvon=1\n"
                           "FolN10__x (deleted)caf\xc3\xa9\\n\n[Set]N10_D_cxxabivy(\\0\\x1)\n[Settings]\nPvon=1\n"
                           "FolN10__x (deleted)caf\xc3\xa9\\n\n");
    const QString foundPath = dir.filePath("found.ini");
    putFile(foundPath, found);
    const QString foundValue = QString::fromUtf8(found.left(found.indexOf('\n')));
    {
        IniSettingsStore store(foundPath);
        store.write("Settings", "Folder", foundValue);
        int n = 0;
        for (const QString &text : texts)
            store.write("Settings", QStringLiteral("Text%1").arg(n++), text);
        ASSERT_TRUE(store.flush().ok());
    }
    const QString copy = dir.filePath("copy.ini");
    ASSERT_TRUE(QFile::copy(foundPath, copy));
    const IniSettingsStore again(copy);
    EXPECT_EQ(again.read("Settings", "Folder"), std::optional<QString>(foundValue));
    EXPECT_EQ(again.read("Settings", "Pvon"), std::optional<QString>("1"));
    int n = 0;
    for (const QString &text : texts) {
        EXPECT_EQ(again.read("Settings", QStringLiteral("Text%1").arg(n)), std::optional<QString>(text)) << n;
        ++n;
    }

    // Another found by fuzzing: a control character, then the mark, as the first line;
    // and a key before any group whose value is all commas.
    const QByteArray second("\x04\xef\xbb\xbf[Settings\nBaron=fal,,,,,,,,,,,,,,,,,,=old\n");
    const QString secondPath = dir.filePath("second.ini");
    putFile(secondPath, second);
    const QString secondValue = QString::fromUtf8(second.left(second.indexOf('\n')));
    {
        IniSettingsStore store(secondPath);
        store.write("Settings", "Folder", secondValue);
        ASSERT_TRUE(store.flush().ok());
    }
    const QString secondCopy = dir.filePath("second-copy.ini");
    ASSERT_TRUE(QFile::copy(secondPath, secondCopy));
    EXPECT_EQ(IniSettingsStore(secondCopy).read("Settings", "Folder"), std::optional<QString>(secondValue)) << [&] {
        QFile f(secondPath);
        f.open(QIODevice::ReadOnly);
        return f.readAll().toStdString();
    }();

    // Typed by hand after the file's own byte-order mark.
    const QString typed = dir.filePath("typed.ini");
    putFile(typed, "\xef\xbb\xbf[Settings]\nFolder=\xef\xbb\xbf/srv/x\nBaron=False\n");
    const IniSettingsStore byHand(typed);
    EXPECT_EQ(byHand.read("Settings", "Folder"), std::optional<QString>(mark + "/srv/x"));
    EXPECT_EQ(byHand.read("Settings", "Baron"), std::optional<QString>("False"));
}

TEST(IniSettingsStore, SyncMakesTheValuesDurableWhileTheStoreLives)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("Pavix.ini");
    IniSettingsStore store(path);
    writeSingle(store, SectionSettings, KeyMainLeft, 1500.0f);
    writeTruth(store, SectionSettings, KeyStatusBarShown, false);
    writeText(store, pavix::catalogue::SectionType, pavix::catalogue::KeyBitmap, "*.bmp;");
    store.sync();
    EXPECT_EQ(fileText(path), "[Settings]\nBaron=False\nMainLeft=1500\n\n[Type]\nBitmap=\"*.bmp;\"\n");

    writeInt(store, SectionSettings, KeyTreeSplitterLeft, 2500);
    ASSERT_TRUE(store.flush().ok());
    EXPECT_TRUE(fileText(path).contains("IsaLeft=2500\n"));
}

TEST(IniSettingsStore, HandWrittenValuesReadAsTyped)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("Pavix.ini");
    // As a user types it, and as Pavix's earlier INI writer wrote it: no quotes around ";"
    // or ",", blanks around "=", Windows line ends, a byte-order mark.
    putFile(path, "\xEF\xBB\xBF[Settings]\r\n"
                  "Folder=/home/me/My Pictures\r\n"
                  "Other = /home/me/Pictures, 2024 \r\n"
                  "Odd=a,b , c\r\n"
                  "Umlaut=/home/j\xC3\xBCrgen/\xE6\x97\xA5\xE6\x9C\xAC\r\n"
                  "Equals=a=b\r\n"
                  "Hash=#1\r\n"
                  "Lead=\"  x\"\r\n"
                  "Trail=\"x  \"\r\n"
                  "Blanks=   y   \r\n"
                  "Tbaron=False\r\n"
                  "Baron=True\r\n"
                  "MainLeft = 1500\r\n"
                  "MainTop=1234.5\r\n"
                  "Empty=\r\n"
                  "\r\n"
                  "[Type]\r\n"
                  "Bitmap=*.bmp;\r\n"
                  "Jpg=*.jpeg;*.jpg;\r\n"
                  "Gif=&;\r\n"
                  "Ico = *.ico; \r\n");

    // QSettings alone cuts a value at an unquoted ";" (a comment to it) and splits one at an
    // unquoted ","; the store takes such lines as the text they hold.
    {
        QSettings plain(path, QSettings::IniFormat);
        EXPECT_EQ(plain.value("Type/Bitmap").toString(), "*.bmp");
        EXPECT_EQ(plain.value("Type/Jpg").toString(), "*.jpeg");
        EXPECT_EQ(plain.value("Settings/Other").toStringList(), QStringList({"/home/me/Pictures", "2024"}));
    }

    const std::vector<std::pair<Value, QString>> expected = {
        {{"Settings", "Folder", ""}, "/home/me/My Pictures"},
        {{"Settings", "Other", ""}, "/home/me/Pictures, 2024"},
        {{"Settings", "Odd", ""}, "a,b , c"},
        {{"Settings", "Umlaut", ""}, QString::fromUtf8("/home/jürgen/日本")},
        {{"Settings", "Equals", ""}, "a=b"},
        {{"Settings", "Hash", ""}, "#1"},
        {{"Settings", "Lead", ""}, "  x"},
        {{"Settings", "Trail", ""}, "x  "},
        {{"Settings", "Blanks", ""}, "y"}, // unquoted blanks around a value are not part of it
        {{"Settings", "Empty", ""}, ""},
        {{"Type", "Bitmap", ""}, "*.bmp;"},
        {{"Type", "Jpg", ""}, "*.jpeg;*.jpg;"},
        {{"Type", "Gif", ""}, "&;"},
        {{"Type", "Ico", ""}, "*.ico;"},
    };
    {
        IniSettingsStore store(path);
        for (const auto &[where, text] : expected)
            EXPECT_EQ(store.read(where.section, where.key), std::optional<QString>(text)) << where.key.toStdString();
        EXPECT_EQ(readTruth(store, SectionSettings, KeyToolBarShown, true), false);
        EXPECT_EQ(readTruth(store, SectionSettings, KeyStatusBarShown, false), true);
        EXPECT_EQ(readSingle(store, SectionSettings, KeyMainLeft, 0), 1500.0f);
        EXPECT_EQ(readSingle(store, SectionSettings, KeyMainTop, 0), 1234.5f);
        EXPECT_EQ(readInt32(store, SectionSettings, KeyTreeSplitterLeft, 2000), 2000);
        ASSERT_TRUE(store.flush().ok());
    }
    // Written back, the same values come back, now quoted where QSettings quotes them.
    EXPECT_TRUE(fileText(path).contains("Bitmap=\"*.bmp;\"\n"));
    IniSettingsStore again(path);
    for (const auto &[where, text] : expected)
        EXPECT_EQ(again.read(where.section, where.key), std::optional<QString>(text)) << where.key.toStdString();
}

TEST(IniSettingsStore, RewritingKeepsOtherGroupsAndKeys)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("Pavix.ini");
    putFile(path, "; written by hand\n"
                  "[Other]\n"
                  "Keep = this, and that \n"
                  "\n"
                  "[Settings]\n"
                  "MainLeft = 1500\n"
                  "Unknown=1\n"
                  "\n"
                  "[Type]\n"
                  "Bitmap=*.bmp;\n");
    {
        IniSettingsStore store(path);
        EXPECT_EQ(store.read("Other", "Keep"), "this, and that");
        EXPECT_EQ(readSingle(store, SectionSettings, KeyMainLeft, 0), 1500.0f);
        writeSingle(store, SectionSettings, KeyMainLeft, 2000.0f);
        writeTruth(store, SectionSettings, KeyStatusBarShown, false);
        writeText(store, pavix::catalogue::SectionType, pavix::catalogue::KeyGif, "&;");
        store.write("Fonts", "TlsLeft", "10");
    }
    IniSettingsStore again(path);
    EXPECT_EQ(again.read("Other", "Keep"), "this, and that");
    EXPECT_EQ(again.read(SectionSettings, "Unknown"), "1");
    EXPECT_EQ(again.read(SectionSettings, KeyMainLeft), "2000");
    EXPECT_EQ(again.read(SectionSettings, KeyStatusBarShown), "False");
    EXPECT_EQ(again.read(pavix::catalogue::SectionType, pavix::catalogue::KeyBitmap), "*.bmp;");
    EXPECT_EQ(again.read(pavix::catalogue::SectionType, pavix::catalogue::KeyGif), "&;");
    EXPECT_EQ(again.read("Fonts", "TlsLeft"), "10");
    // QSettings keeps values, not the file's comments or layout.
    EXPECT_FALSE(fileText(path).contains("written by hand"));
}

TEST(IniSettingsStore, MalformedOrMissingFilesReadAsEmpty)
{
    QTemporaryDir dir;
    const QString missing = dir.filePath("none/Pavix.ini");
    {
        IniSettingsStore store(missing);
        EXPECT_FALSE(store.read(SectionSettings, KeyMainLeft));
        EXPECT_EQ(readInt32(store, SectionSettings, KeyTreeSplitterLeft, 2000), 2000);
        EXPECT_TRUE(store.flush().ok());
    }
    EXPECT_FALSE(QFile::exists(missing)); // nothing written, nothing created
    EXPECT_FALSE(QFileInfo::exists(dir.filePath("none")));

    const QString junk = dir.filePath("junk.ini");
    static const char junkBytes[] = "MainLeft=1\r\n" // before any group: not ours
                                    "[Settings]\r\n"
                                    "MainTop 100\r\n"
                                    "  = 7\r\n"
                                    "MainWidth\r\n"
                                    "IsaLeft=12\0x\r\n"
                                    "\xFF\xFE\x00\x01 garbage\r\n"
                                    "At=@Variant(x)\r\n"
                                    "Pvon = false \r\n"
                                    "Tvon=1\r\n"
                                    "Tvon=0\r\n"
                                    "[Type\r\n"
                                    "Gif=&;\r\n";
    putFile(junk, QByteArray(junkBytes, sizeof junkBytes - 1));
    IniSettingsStore store(junk);
    EXPECT_FALSE(store.read(SectionSettings, "MainLeft"));
    EXPECT_FALSE(store.read(SectionSettings, "MainTop"));
    EXPECT_FALSE(store.read(SectionSettings, "MainWidth"));
    EXPECT_FALSE(store.read(SectionSettings, ""));
    EXPECT_FALSE(store.read(SectionSettings, "At")); // a variant QSettings cannot make
    EXPECT_EQ(readInt32(store, SectionSettings, KeyTreeSplitterLeft, 2000), 2000);
    EXPECT_EQ(readTruth(store, SectionSettings, KeyPreviewShown, true), false);
    EXPECT_EQ(readTruth(store, SectionSettings, KeyTreeShown, true), false); // the last one counts
    EXPECT_EQ(store.read(pavix::catalogue::SectionType, pavix::catalogue::KeyGif),
              "&;"); // a header without "]" still counts

    // The malformed file is kept aside as it was; a well-formed one takes its place with
    // what could be read.
    EXPECT_TRUE(QFileInfo::exists(junk + ".unreadable"));
    EXPECT_EQ(QFileInfo(junk + ".unreadable").size(), qint64(sizeof junkBytes - 1));
    EXPECT_FALSE(store.startNotice().isEmpty());
    writeTruth(store, SectionSettings, KeyTreeShown, true);
    ASSERT_TRUE(store.flush().ok());
    EXPECT_TRUE(fileText(junk).contains("Tvon=True\n"));
    EXPECT_TRUE(fileText(junk).contains("Gif=\"&;\"\n"));
}

TEST(IniSettingsStore, AFileTooLargeToBeSettingsReadsAsEmpty)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("Pavix.ini");
    QByteArray bytes = "[Settings]\nMainLeft=1500\n";
    bytes += QByteArray(5 * 1024 * 1024, 'x');
    putFile(path, bytes);
    IniSettingsStore store(path);
    EXPECT_FALSE(store.read(SectionSettings, KeyMainLeft));
    writeInt(store, SectionSettings, KeyTreeSplitterLeft, 2500);
    ASSERT_TRUE(store.flush().ok());
    EXPECT_EQ(fileText(path), "[Settings]\nIsaLeft=2500\n");
    // The file it could not read was never written over: it was moved aside, and the
    // store says where.
    QFile aside(path + ".unreadable");
    ASSERT_TRUE(aside.open(QIODevice::ReadOnly));
    EXPECT_EQ(aside.readAll(), bytes);
    EXPECT_TRUE(store.startNotice().contains(path + ".unreadable")) << qPrintable(store.startNotice());

    // A second unreadable file does not replace the first one kept aside.
    putFile(path, bytes);
    IniSettingsStore again(path);
    EXPECT_TRUE(QFileInfo::exists(path + ".unreadable-2"));
    EXPECT_EQ(QFileInfo(path + ".unreadable").size(), bytes.size());
}

TEST(IniSettingsStore, NamesThatCannotBeReadBackAreNotWritten)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("Pavix.ini");
    const QStringList odd{"a=b", " lead", "x\ny", "[x]", ";c", "#c", "a\\b", QString::fromUtf8("Ü")};
    {
        IniSettingsStore store(path);
        for (const QString &key : {QString(""), QString("a/b"), QString("/x")})
            store.write(SectionSettings, key, "v");
        store.write("", "Key", "v");
        store.write("Sec/Settings", "Key", "v");
        for (const QString &key : odd)
            store.write("Odd", key, key);
        store.write("Sec\n[Settings]", "Key", "v");
        ASSERT_TRUE(store.flush().ok());
        EXPECT_FALSE(store.read(SectionSettings, "a/b"));
        EXPECT_FALSE(store.read("", "Key"));
    }
    IniSettingsStore again(path);
    for (const QString &key : odd)
        EXPECT_EQ(again.read("Odd", key), key) << qPrintable(key);
    EXPECT_EQ(again.read("Sec\n[Settings]", "Key"), "v");
    EXPECT_FALSE(again.read(SectionSettings, "Key"));
    const QString text = fileText(path);
    EXPECT_FALSE(text.contains("[General]")) << qPrintable(text);
    EXPECT_FALSE(text.contains("[Settings]")) << qPrintable(text);
}

TEST(IniSettingsStore, WriteFailuresAreReportedAndKeptPending)
{
    QTemporaryDir dir;
    const QString blocker = dir.filePath("plain-file");
    putFile(blocker, "not a folder");
    const QString path = blocker + "/Pavix/Pavix.ini";
    // Notes what it is told.
    struct Told : pavix::platform::SaveFailureReporter {
        QStringList messages;
        void reportSaveFailure(const QString &message) override { messages << message; }
    } told;
    IniSettingsStore store(path, &told);
    writeInt(store, SectionSettings, KeyTreeSplitterLeft, 2500);
    const auto status = store.flush();
    ASSERT_FALSE(status.ok());
    EXPECT_EQ(status.error().number, pavix::common::ErrDeviceIo);
    EXPECT_TRUE(status.error().message.contains(path)) << qPrintable(status.error().message);
    EXPECT_FALSE(store.flush().ok());
    // flush() tells no one. A sync is told once, with the file and the reason, however many
    // saves fail.
    EXPECT_TRUE(told.messages.isEmpty());
    store.sync();
    store.sync();
    ASSERT_EQ(told.messages.size(), 1);
    EXPECT_TRUE(told.messages[0].contains(path) && told.messages[0].contains("cannot be made"))
        << qPrintable(told.messages[0]);
    EXPECT_EQ(readInt32(store, SectionSettings, KeyTreeSplitterLeft, 0), 2500);

    // Once the file can be written, the pending value is written and the failure is over.
    ASSERT_TRUE(QFile::remove(blocker));
    EXPECT_TRUE(store.flush().ok());
    EXPECT_EQ(fileText(path), "[Settings]\nIsaLeft=2500\n");

    // A folder where the file should be: nothing to read, and writing it fails.
    const QString folder = dir.filePath("folder.ini");
    ASSERT_TRUE(QDir().mkpath(folder));
    IniSettingsStore onFolder(folder);
    EXPECT_FALSE(onFolder.read(SectionSettings, KeyMainLeft));
    writeInt(onFolder, SectionSettings, KeyTreeSplitterLeft, 2500);
    EXPECT_FALSE(onFolder.flush().ok());
    EXPECT_TRUE(QFileInfo(folder).isDir());
}

TEST(IniSettingsStore, DefaultFileLivesUnderTheUsersConfigFolder)
{
    QTemporaryDir dir;
    const QByteArray saved = qgetenv("XDG_CONFIG_HOME");
    const bool wasSet = qEnvironmentVariableIsSet("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", dir.path().toLocal8Bit());
    EXPECT_EQ(IniSettingsStore::defaultPath(), dir.path() + "/Pavix/Pavix.ini");
    {
        IniSettingsStore store;
        EXPECT_EQ(store.path(), dir.path() + "/Pavix/Pavix.ini");
        writeText(store, SectionSettings, KeyFolder, "/srv/pictures");
    }
    EXPECT_EQ(fileText(dir.path() + "/Pavix/Pavix.ini"), "[Settings]\nFolder=/srv/pictures\n");
    if (wasSet)
        qputenv("XDG_CONFIG_HOME", saved);
    else
        qunsetenv("XDG_CONFIG_HOME");
}
