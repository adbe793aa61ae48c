#include "browser/browser.h"
#include "platform/folderlisting.h"
#include "catalogue/filepaths.h"
#include "browser/statusline.h"

#include "catalogue/filesize.h"
#include "platform/pictureservice.h"

namespace pavix::browser {

StatusLine::~StatusLine() = default;

Browser::Browser(platform::ShellInfo &shellInfo, double twipsPerPixel, qint64 fileIconBudgetBytes,
                 QObject *parent)
    : QObject(parent), m_twipsPerPixel(twipsPerPixel), m_icons(shellInfo, fileIconBudgetBytes)
{
    setObjectName(QStringLiteral("browser"));
}

common::Status Browser::setFolder(const QString &folder)
{
    return m_files.setPath(folder);
}

void Browser::setFilePattern(const QString &pattern)
{
    m_files.setPattern(pattern);
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
    m_patterns = patterns;
    m_typeTexts = catalogue::typeTextsFor(m_patterns);
}

void Browser::setCurrentFile(const QString &name)
{
    m_currentFolder = catalogue::selectionFolder(m_files.path());
    m_currentFile = name;
}

common::Status Browser::selectFile(const QString &name)
{
    setCurrentFile(name);
    const int index = static_cast<int>(m_files.names().indexOf(name));
    common::Result<QImage> picture =
        platform::loadPictureWithin(catalogue::joinPath(m_currentFolder, m_currentFile));
    if (!picture) {
        // Nothing of the previous picture stays behind a file that cannot be read.
        m_currentFile.clear();
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
    m_currentFile.clear();
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
