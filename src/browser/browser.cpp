#include "browser/browser.h"
#include "browser/statusline.h"
#include "catalogue/filepaths.h"
#include "platform/folderlisting.h"

#include "catalogue/filesize.h"
#include "platform/pictureservice.h"

namespace pavix::browser {

StatusLine::~StatusLine() = default;

Browser::Browser(platform::ShellInfo &shellInfo, double twipsPerPixel, qint64 fileIconBudgetBytes, QObject *parent)
    : QObject(parent), m_twipsPerPixel(twipsPerPixel), m_icons(shellInfo, fileIconBudgetBytes)
{
    setObjectName(QStringLiteral("browser"));
}

common::Status Browser::setFolder(const QString &folder)
{
    const QString before = m_files.path();
    const common::Status read = m_files.setPath(folder);
    if (m_files.path() != before)
        emit folderChanged(m_files.path());
    return read;
}

void Browser::setFilePattern(const QString &pattern)
{
    const bool changed = pattern != m_files.pattern();
    m_files.setPattern(pattern);
    if (changed)
        emit filePatternChanged(pattern);
}

common::Result<qint64> Browser::listedFileLength(const QString &name) const
{
    return platform::fileLength(catalogue::joinPath(m_files.path(), name));
}

std::vector<CatalogueEntry> Browser::catalogueEntries()
{
    std::vector<CatalogueEntry> entries;
    m_icons.startListing();
    entries.reserve(static_cast<size_t>(m_files.listCount()));
    for (int i = 0; i < m_files.listCount(); ++i) {
        const QString &name = m_files.names().at(i);
        const int position = m_icons.positionFor(catalogue::joinPath(m_files.path(), name));
        entries.push_back({name, m_files.length(i), position, m_icons.typeNameAt(position)});
    }
    return entries;
}

void Browser::setPatterns(const catalogue::TypePatterns &patterns)
{
    if (patterns == m_patterns)
        return;
    m_patterns = patterns;
    m_typeTexts = catalogue::typeTextsFor(m_patterns);
    emit patternsChanged();
}

void Browser::changeCurrentFile(const QString &folder, const QString &name)
{
    // With no file, the folder it would be taken from is no file either.
    const bool changed = name != m_currentFile || (!name.isEmpty() && folder != m_currentFolder);
    m_currentFolder = folder;
    m_currentFile = name;
    if (changed)
        emit currentFileChanged(name);
}

void Browser::setCurrentFile(const QString &name)
{
    changeCurrentFile(catalogue::selectionFolder(m_files.path()), name);
}

common::Status Browser::selectFile(const QString &name)
{
    setCurrentFile(name);
    const int index = static_cast<int>(m_files.names().indexOf(name));
    common::Result<QImage> picture = platform::loadPictureWithin(catalogue::joinPath(m_currentFolder, m_currentFile),
                                                                 platform::PictureReadLimit,
                                                                 platform::Waiting::KeepingWindowsAlive);
    if (!picture) {
        // Nothing of the previous picture stays behind a file that cannot be read.
        changeCurrentFile(m_currentFolder, QString());
        clearPicture();
        emit selectionFailed(picture.error());
        emit fileSelected(index, name);
        return picture.error();
    }
    setPicture(picture.value());
    emit fileSelected(index, name);
    return common::Ok{};
}

void Browser::clearSelection()
{
    changeCurrentFile(m_currentFolder, QString());
    clearPicture();
    emit selectionCleared();
}

void Browser::setPicture(const QImage &picture)
{
    m_picture = picture;
    if (!m_picture.isNull())
        m_pictureTwips = platform::naturalSizeTwips(m_picture.size(), m_twipsPerPixel);
    emit pictureChanged();
}

void Browser::setSample(const std::optional<Sample> &sample)
{
    m_sample = sample;
    emit sampleChanged();
}

void Browser::setSamplePlacement(const std::optional<SamplePlacement> &placement)
{
    m_samplePlacement = placement;
    emit samplePlacementChanged();
}

} // namespace pavix::browser
