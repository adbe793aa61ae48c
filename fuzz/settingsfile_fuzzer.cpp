// Feeds any bytes to the settings file reader as the settings file, reads the program's
// keys through the conversions the shell applies to them, writes a value and reads it back
// through a fresh file. A file that is not text must be moved aside whole, never written over.

#include "fuzzinput.h"

#include "catalogue/typepatterns.h"
#include "platform/settingsstore.h"
#include "shell/settingskeys.h"
#include "shell/settingsvalues.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QStringDecoder>
#include <QTemporaryDir>

#include <cstdlib>

using namespace pavix;

namespace {

QString g_root;
int g_round = 0;

void dropMessages(QtMsgType, const QMessageLogContext &, const QString &) {}

bool isText(const QByteArray &bytes)
{
    if (bytes.contains('\0'))
        return false;
    QStringDecoder decoder(QStringDecoder::Utf8);
    [[maybe_unused]] const QString text = decoder.decode(bytes);
    return !decoder.hasError();
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Reads every key the program reads at start-up as the shell converts it.
void readProgramKeys(const platform::SettingsStore &store)
{
    const QString settings = shell::SectionSettings;
    for (const auto key : {shell::KeyMainLeft, shell::KeyMainTop, shell::KeyMainWidth, shell::KeyMainHeight})
        if (const auto text = store.read(settings, key))
            (void)shell::singleFromText(*text);
    for (const auto key : {shell::KeyTreeSplitterLeft, shell::KeyPreviewSplitterLeft, shell::KeyTiledWindowLeft,
                           shell::KeyTiledWindowWidth})
        if (const auto text = store.read(settings, key))
            (void)shell::int32FromText(*text);
    for (const auto key :
         {shell::KeyToolBarShown, shell::KeyStatusBarShown, shell::KeyTreeShown, shell::KeyPreviewShown})
        if (const auto text = store.read(settings, key))
            (void)shell::truthFromText(*text);
    if (const auto text = store.read(settings, shell::KeyViewMode))
        (void)shell::viewModeFromText(*text);
    (void)store.read(settings, shell::KeyFolder);
    const QString type = catalogue::SectionType;
    for (const auto key : {catalogue::KeyBitmap, catalogue::KeyJpg, catalogue::KeyGif, catalogue::KeyIco})
        if (const auto text = store.read(type, key))
            (void)catalogue::patternElements(*text);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    static QCoreApplication app(*argc, *argv);
    static QTemporaryDir folder;
    if (!folder.isValid())
        std::abort();
    g_root = folder.path();
    qInstallMessageHandler(dropMessages);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    // A folder of its own each round: QSettings shares what it read of a file by its name
    // within the process, and would not read a rewritten file of the same size and time again.
    const QString roundFolder = g_root + QStringLiteral("/%1").arg(++g_round);
    QDir().mkpath(roundFolder);
    const QString path = roundFolder + QStringLiteral("/Pavix.ini");
    const QByteArray bytes = fuzz::bytesOf(data, size);
    if (!fuzz::writeFile(path, bytes))
        return 0;

    // The value written back: the input's first line, as text.
    const QString value = QString::fromUtf8(bytes.left(bytes.indexOf('\n') < 0 ? 200 : bytes.indexOf('\n')));
    bool saved = false;
    {
        platform::IniSettingsStore store(path);
        if (!isText(bytes)) {
            fuzz::require(!store.startNotice().isEmpty(), "a file that is not text is told of");
            fuzz::require(readFile(path + QStringLiteral(".unreadable")) == bytes,
                          "a file that is not text is moved aside whole");
        }
        readProgramKeys(store);
        store.write(shell::SectionSettings, shell::KeyFolder, value);
        fuzz::require(store.read(shell::SectionSettings, shell::KeyFolder) == value,
                      "a written value reads back at once");
        saved = bool(store.flush());
    }
    if (saved) {
        const QString copy = roundFolder + QStringLiteral("/Copy.ini");
        fuzz::require(QFile::copy(path, copy), "the saved file can be copied");
        const platform::IniSettingsStore reread(copy);
        fuzz::require(reread.read(shell::SectionSettings, shell::KeyFolder) == value,
                      "a saved value reads back exactly from the file");
    }
    QDir(roundFolder).removeRecursively();
    return 0;
}
