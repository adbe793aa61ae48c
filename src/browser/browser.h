#pragma once
// The browsing state the parts of the main window share: the folder being listed with its
// file list and icons, the picture types searched for, the selected file with its picture
// at natural size, and the line of sample text shown over the tiles. It changes only
// through its own methods and announces each change by a signal; the list, the thumbnail
// grid, the preview pane, the status line and the tiled window follow those signals and
// never reach into each other.

#include "browser/filelist.h"
#include "catalogue/typepatterns.h"
#include "common/result.h"
#include "platform/iconcache.h"

#include <QColor>
#include <QImage>
#include <QObject>
#include <QRect>
#include <QSize>
#include <QString>

#include <optional>
#include <vector>

namespace pavix::browser {

// One listed file as the list shows it: its name, its length in bytes, the position of its
// icon pair in the icon cache and its type's name.
struct CatalogueEntry {
    QString name;
    qint64 length = 0;
    int iconPosition = 0;
    QString typeName;
};

// One line of sample text as the font toolbox sets it. An empty family or a size of 0
// leaves the text box's own font or size.
struct Sample {
    QString text;
    QString fontFamily;
    double pointSize = 0;
    QColor colour;
};

// Where the tiled window shows the sample: the rectangle of its text on the tiled surface
// (pixels from the surface's top-left, where the first copy of the picture starts; already
// cut to the window's area) and the colour transparent parts of the picture show.
struct SamplePlacement {
    QRect textRect;
    QColor background;
};

class Browser : public QObject {
    Q_OBJECT
public:
    // `twipsPerPixel` turns a picture's pixels into the twips its natural size is kept in;
    // `fileIconBudgetBytes` bounds the icon files' own pictures kept from earlier listings
    // (0 for the cache's default).
    Browser(platform::ShellInfo &shellInfo, double twipsPerPixel, qint64 fileIconBudgetBytes = 0,
            QObject *parent = nullptr);

    double twipsPerPixel() const { return m_twipsPerPixel; }

    // --- The folder and its catalogue -----------------------------------------------------
    // The file list: the listed folder and its names in catalogue order.
    const FileList &files() const { return m_files; }
    // The folder listed, "" before any.
    QString folder() const { return m_files.path(); }
    // Points the file list at `folder` and reads it, also when it is the folder listed (a
    // fresh listing); a folder that cannot be read lists nothing and gives the reason
    // (FileList::setPath). Announces folderChanged when the folder listed is another one.
    common::Status setFolder(const QString &folder);
    // Sets the ";"-separated file pattern and reads the folder again; announces
    // filePatternChanged when the pattern is another one.
    void setFilePattern(const QString &pattern);
    // The icon pairs and type names of the catalogue.
    platform::IconCache &icons() { return m_icons; }
    const platform::IconCache &icons() const { return m_icons; }
    // One entry per listed file, in list order, with the length the listing read and its
    // icon from the cache: as many entries as the file list has names, whatever became of
    // the files since. Each call is a new listing for the cache: icons only earlier
    // listings used may go.
    std::vector<CatalogueEntry> catalogueEntries();
    // Length in bytes of a listed file of the listed folder as it is now.
    common::Result<qint64> listedFileLength(const QString &name) const;

    // --- Picture types --------------------------------------------------------------------
    const catalogue::TypePatterns &patterns() const { return m_patterns; }
    const catalogue::TypeTexts &typeTexts() const { return m_typeTexts; }
    // Takes the four type patterns and works out the texts that describe them; announces
    // patternsChanged when they differ from the ones held.
    void setPatterns(const catalogue::TypePatterns &patterns);

    // --- The selected file and its picture -----------------------------------------------
    // The folder of the selection ("" for the root) and the selected file's name ("" when
    // none).
    QString currentFolder() const { return m_currentFolder; }
    QString currentFile() const { return m_currentFile; }
    // Makes `name` (a file of the listed folder; "" for none) the current file without
    // reading it; the picture stays as it is. Announces currentFileChanged when that is
    // another file.
    void setCurrentFile(const QString &name);
    // The selection the list and the grid make: `name` becomes the current file and its
    // picture is read. A file that cannot be read leaves no current file and no picture,
    // and its error is returned and announced (selectionFailed). Either way fileSelected
    // follows with the file's place in the catalogue.
    common::Status selectFile(const QString &name);
    // Leaves nothing selected: no current file, no picture (selectionCleared).
    void clearSelection();

    // The current picture at natural size (null when none) and that size in twips. The
    // size keeps its last value when the picture goes.
    const QImage &picture() const { return m_picture; }
    QSize pictureSizeTwips() const { return m_pictureTwips; }
    // Makes `picture` the current one; a null image removes it.
    void setPicture(const QImage &picture);
    void clearPicture() { setPicture(QImage()); }

    // --- The sample over the tiles --------------------------------------------------------
    // The sample while the toolbox shows one; nothing while it is hidden.
    const std::optional<Sample> &sample() const { return m_sample; }
    void setSample(const std::optional<Sample> &sample);
    // Where the sample lies over the tiles while the tiled window shows it; nothing while
    // no sample is shown. Set again whenever the sample is laid out anew.
    const std::optional<SamplePlacement> &samplePlacement() const { return m_samplePlacement; }
    void setSamplePlacement(const std::optional<SamplePlacement> &placement);

signals:
    // setFolder listed another folder (`folder` as folder() gives it); the listing is read.
    void folderChanged(const QString &folder);
    // setFilePattern took another pattern; the folder is read with it.
    void filePatternChanged(const QString &pattern);
    // setPatterns took other picture types; typeTexts() describes them.
    void patternsChanged();
    // The current file is another one, or none (`name` ""), whichever method changed it.
    void currentFileChanged(const QString &name);
    // The picture (or its absence) changed.
    void pictureChanged();
    // selectFile ran for the file at catalogue position `index` (from 0), readable or not.
    void fileSelected(int index, const QString &name);
    // The file selectFile was given could not be read.
    void selectionFailed(const common::Error &error);
    // clearSelection ran.
    void selectionCleared();
    void sampleChanged();
    void samplePlacementChanged();

private:
    // The current file becomes `name` of `folder`, announced when that is another file.
    void changeCurrentFile(const QString &folder, const QString &name);

    double m_twipsPerPixel;
    FileList m_files;
    platform::IconCache m_icons;
    catalogue::TypePatterns m_patterns;
    catalogue::TypeTexts m_typeTexts;
    QString m_currentFolder;
    QString m_currentFile;
    QImage m_picture;
    QSize m_pictureTwips{0, 0};
    std::optional<Sample> m_sample;
    std::optional<SamplePlacement> m_samplePlacement;
};

} // namespace pavix::browser
