#include "shell/settingskeys.h"
#include "shell/settingsstore.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

using namespace pavix::shell;

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

TEST(SettingsStore, TypedReadersFallBackToTheDefault)
{
    MemorySettingsStore store;
    const QString s = SectionSettings;
    EXPECT_EQ(readSingle(store, s, KeyMainLeft, DefaultMainLeft), 1000.0f);
    EXPECT_EQ(readInt32(store, s, KeyIsaLeft, DefaultIsaLeft), 2000);
    EXPECT_EQ(readTruth(store, s, KeyBaron, DefaultBaron), true);
    EXPECT_EQ(readText(store, SectionType, KeyBitmap, DefaultPattern), "");
    EXPECT_EQ(readText(store, s, KeyFolder, "/home/u"), "/home/u");
    EXPECT_EQ(readViewMode(store, s, KeyViewMode), 0);

    store.write(s, KeyMainWidth, "wide");
    store.write(s, KeyIsaLeft, "40000");
    store.write(s, KeyIsbLeft, "3e9");
    store.write(s, KeyPrvLeft, "");
    store.write(s, KeyTvon, "maybe");
    store.write(s, KeyViewMode, "5");
    EXPECT_EQ(readSingle(store, s, KeyMainWidth, 6500.0f), 6500.0f);
    EXPECT_EQ(readInt16(store, s, KeyIsaLeft, 2000), 2000);   // beyond 16 bits
    EXPECT_EQ(readInt32(store, s, KeyIsaLeft, 2000), 40000);  // fits 32 bits
    EXPECT_EQ(readInt32(store, s, KeyIsbLeft, 5000), 5000);
    EXPECT_EQ(readInt32(store, s, KeyPrvLeft, 1000), 1000);
    EXPECT_EQ(readTruth(store, s, KeyTvon, true), true);
    EXPECT_EQ(readTruth(store, s, KeyTvon, false), false);
    EXPECT_EQ(readViewMode(store, s, KeyViewMode), 0);
    EXPECT_EQ(readViewMode(store, s, KeyViewMode, 2), 2);

    store.write(s, KeyViewMode, "-1");
    EXPECT_EQ(readViewMode(store, s, KeyViewMode), 0);
    store.write(s, KeyViewMode, "3abc");
    EXPECT_EQ(readViewMode(store, s, KeyViewMode), 3);
    store.write(s, KeyViewMode, "");
    EXPECT_EQ(readViewMode(store, s, KeyViewMode, 2), 0); // stored, without a number
    store.write(s, KeyFolder, "");
    EXPECT_EQ(readText(store, s, KeyFolder, "/home/u"), ""); // stored empty stays empty
}

TEST(SettingsStore, WritersProduceTheTextTheReadersTakeBack)
{
    MemorySettingsStore store;
    const QString s = SectionSettings;
    writeSingle(store, s, KeyMainLeft, 1234.5f);
    writeInt(store, s, KeyIsbLeft, 36000);
    writeTruth(store, s, KeyPvon, false);
    writeText(store, SectionType, KeyIco, "&;");
    writeInt(store, s, KeyViewMode, 3);

    EXPECT_EQ(store.values().at({s, QString(KeyMainLeft)}), "1234.5");
    EXPECT_EQ(store.values().at({s, QString(KeyIsbLeft)}), "36000");
    EXPECT_EQ(store.values().at({s, QString(KeyPvon)}), "False");
    EXPECT_EQ(readSingle(store, s, KeyMainLeft, 0), 1234.5f);
    EXPECT_EQ(readInt32(store, s, KeyIsbLeft, 0), 36000);
    EXPECT_EQ(readTruth(store, s, KeyPvon, true), false);
    EXPECT_EQ(readText(store, SectionType, KeyIco, ""), "&;");
    EXPECT_EQ(readViewMode(store, s, KeyViewMode), 3);
    // Sections keep keys apart.
    EXPECT_FALSE(store.read(SectionSettings, KeyIco));
}

TEST(IniSettingsStore, AwkwardTextsRoundTripAsPlainText)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath("cfg/Pavix/Pavix.ini"); // folders made on demand

    const std::vector<std::pair<QString, QString>> values = {
        {"Bitmap", "*.bmp;"},
        {"Jpg", "*.jpeg;*.jpg;"},
        {"Gif", "&;"},
        {"Ico", ""},
        {"Tbaron", "True"},
        {"Folder", "/home/u/My Pictures, 2024;#1=x"},
        {"Back", "C:\\"},
        {"Bracket", "[Type]"},
        {"Comment", ";not a comment"},
        {"Hash", "#not either"},
        {"Inner", "say \"cheese\""},
        {"Umlaut", "/home/jürgen/Bilder/日本"},
        {"At", "@Variant(x)"},
        {"Lead", "  leading"},
        {"Trail", "trailing  "},
        {"Tab", "\tx\t"},
        {"OnlySpaces", "   "},
        {"Quoted", "\"quoted\""},
        {"OpenQuote", "\"open"},
        {"Lines", "one\ntwo\r\nthree"},
        {"Control", QString("a") + QChar(1) + "b\\"},
    };
    {
        IniSettingsStore store(path);
        for (const auto &[key, text] : values)
            store.write(key == "Bitmap" || key == "Jpg" || key == "Gif" || key == "Ico"
                            ? QString(SectionType)
                            : QString(SectionSettings),
                        key, text);
        EXPECT_TRUE(store.flush().ok());
    }
    IniSettingsStore again(path);
    for (const auto &[key, text] : values) {
        const QString section = key == "Bitmap" || key == "Jpg" || key == "Gif" || key == "Ico"
            ? QString(SectionType)
            : QString(SectionSettings);
        EXPECT_EQ(again.read(section, key), std::optional<QString>(text)) << key.toStdString();
    }

    // Ordinary values stand in the file as they are.
    const QString text = fileText(path);
    for (const char *line : {"[Settings]\n", "[Type]\n", "Bitmap=*.bmp;\n", "Gif=&;\n",
                             "Jpg=*.jpeg;*.jpg;\n", "Ico=\n", "Tbaron=True\n",
                             "Folder=/home/u/My Pictures, 2024;#1=x\n", "Back=C:\\\n",
                             "Inner=say \"cheese\"\n", "At=@Variant(x)\n"}) {
        EXPECT_TRUE(text.contains(QString::fromUtf8(line))) << line;
    }
    EXPECT_TRUE(text.contains(QString::fromUtf8("Umlaut=/home/jürgen/Bilder/日本\n")));
    EXPECT_TRUE(text.contains("Lead=\"  leading\"\n"));
    EXPECT_TRUE(text.contains("Lines=\"one\\ntwo\\r\\nthree\"\n"));
}

TEST(IniSettingsStore, RewritingKeepsUnknownLinesAndGroups)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("Pavix.ini");
    putFile(path, "; written by hand\n"
                  "[Other]\n"
                  "Keep = this, and that \n"
                  "\n"
                  "[Settings]\n"
                  "# the window\n"
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
        writeTruth(store, SectionSettings, KeyBaron, false);
        writeText(store, SectionType, KeyGif, "&;");
        store.write("Fonts", "TlsLeft", "10");
    }
    EXPECT_EQ(fileText(path), "; written by hand\n"
                              "[Other]\n"
                              "Keep = this, and that \n"
                              "\n"
                              "[Settings]\n"
                              "# the window\n"
                              "MainLeft=2000\n"
                              "Unknown=1\n"
                              "Baron=False\n"
                              "\n"
                              "[Type]\n"
                              "Bitmap=*.bmp;\n"
                              "Gif=&;\n"
                              "\n"
                              "[Fonts]\n"
                              "TlsLeft=10\n");
}

TEST(IniSettingsStore, MalformedOrMissingFilesReadAsEmpty)
{
    QTemporaryDir dir;
    const QString missing = dir.filePath("none/Pavix.ini");
    {
        IniSettingsStore store(missing);
        EXPECT_FALSE(store.read(SectionSettings, KeyMainLeft));
        EXPECT_EQ(readInt32(store, SectionSettings, KeyIsaLeft, 2000), 2000);
        EXPECT_TRUE(store.flush().ok());
    }
    EXPECT_FALSE(QFile::exists(missing)); // nothing written, nothing created

    const QString junk = dir.filePath("junk.ini");
    static const char junkBytes[] = "\xEF\xBB\xBF" "MainLeft=1\r\n" // before any group: not ours
                             "[Settings\r\n"
                             "MainTop 100\r\n"
                             "=5\r\n"
                             "[Settings]\r\n"
                             "  = 7\r\n"
                             "Folder=\"abc\r\n"
                             "Other=\"a\"b\"\r\n"
                             "Esc=\"a\\qb\"\r\n"
                             "Half=\"ab\\x4\"\r\n"
                             "MainWidth\r\n"
                             "IsaLeft=12\0x\r\n"
                             "\xFF\xFE\x00\x01 garbage\r\n"
                             "Pvon = false \r\n"
                             "Tvon=1\r\n"
                             "Tvon=0\r\n";
    putFile(junk, QByteArray(junkBytes, sizeof junkBytes - 1));
    IniSettingsStore store(junk);
    EXPECT_FALSE(store.read(SectionSettings, "MainLeft"));
    EXPECT_FALSE(store.read(SectionSettings, "MainTop"));
    EXPECT_FALSE(store.read(SectionSettings, "MainWidth"));
    EXPECT_FALSE(store.read(SectionSettings, ""));
    EXPECT_EQ(store.read(SectionSettings, "Folder"), "\"abc");   // unclosed quote: as it stands
    EXPECT_EQ(store.read(SectionSettings, "Other"), "\"a\"b\"");
    EXPECT_EQ(store.read(SectionSettings, "Esc"), "\"a\\qb\"");
    EXPECT_EQ(store.read(SectionSettings, "Half"), "\"ab\\x4\"");
    EXPECT_EQ(readInt32(store, SectionSettings, KeyIsaLeft, 2000), 2000);
    EXPECT_EQ(readTruth(store, SectionSettings, KeyPvon, true), false);
    EXPECT_EQ(readTruth(store, SectionSettings, KeyTvon, false), true); // the first one counts

    // A write replaces the first of duplicate keys and leaves the junk in place.
    writeTruth(store, SectionSettings, KeyTvon, false);
    ASSERT_TRUE(store.flush().ok());
    IniSettingsStore reread(junk);
    EXPECT_EQ(readTruth(reread, SectionSettings, KeyTvon, true), false);
    EXPECT_EQ(reread.read(SectionSettings, "Other"), "\"a\"b\"");
    EXPECT_TRUE(fileText(junk).contains("MainTop 100"));
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
}

TEST(IniSettingsStore, NamesThatCannotBeReadBackAreNotWritten)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("Pavix.ini");
    IniSettingsStore store(path);
    for (const QString &key : {QString("a=b"), QString(""), QString(" lead"), QString("x\ny"),
                               QString("[x]"), QString(";c"), QString("#c")})
        store.write(SectionSettings, key, "v");
    store.write("", "Key", "v");
    store.write("Sec\n[Settings]", "Key", "v");
    store.write(SectionSettings, "Fine", "v");
    ASSERT_TRUE(store.flush().ok());
    EXPECT_EQ(fileText(path), "[Settings]\nFine=v\n");
}

TEST(IniSettingsStore, WriteFailuresAreReportedAndKeptPending)
{
    QTemporaryDir dir;
    const QString blocker = dir.filePath("plain-file");
    putFile(blocker, "not a folder");
    IniSettingsStore store(blocker + "/Pavix/Pavix.ini");
    writeInt(store, SectionSettings, KeyIsaLeft, 2500);
    const auto status = store.flush();
    ASSERT_FALSE(status.ok());
    EXPECT_EQ(status.error().number, pavix::common::ErrDeviceIo);
    EXPECT_EQ(readInt32(store, SectionSettings, KeyIsaLeft, 0), 2500);

    // A folder where the file should be: nothing to read, and writing it fails.
    const QString folder = dir.filePath("folder.ini");
    ASSERT_TRUE(QDir().mkpath(folder));
    IniSettingsStore onFolder(folder);
    EXPECT_FALSE(onFolder.read(SectionSettings, KeyMainLeft));
    writeInt(onFolder, SectionSettings, KeyIsaLeft, 2500);
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
        writeText(store, SectionSettings, KeyFolder, "/srv/pictures");
    }
    EXPECT_EQ(fileText(dir.path() + "/Pavix/Pavix.ini"), "[Settings]\nFolder=/srv/pictures\n");
    if (wasSet)
        qputenv("XDG_CONFIG_HOME", saved);
    else
        qunsetenv("XDG_CONFIG_HOME");
}
