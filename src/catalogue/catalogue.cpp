#include "catalogue/catalogue.h"

#include "catalogue/filesize.h"

namespace pavix::catalogue {

namespace {

constexpr int SizeSubItem = 1;
constexpr int TypeSubItem = 2;

// Adds the entry; `imagesAdded` is set when the cache's images changed (added, or put in a
// position an earlier listing used), so that the caller can tell the list once for a whole
// folder.
common::Status addEntry(const QString &path, const FileList &files, IconCache &cache,
                        platform::ListView &lv, bool &imagesAdded)
{
    const QString name = path.mid(path.lastIndexOf(u'/') + 1);
    // The length is read first: a file that vanished leaves no half-filled entry behind.
    const common::Result<qint64> length = listedFileLength(files, name);
    if (!length)
        return length.error();

    // An empty list shows no icon: the pictures only earlier listings used may go.
    if (lv.count() == 0)
        cache.startListing();
    const std::uint64_t before = cache.revision();
    const int position = cache.positionFor(path);
    imagesAdded = imagesAdded || cache.revision() != before;

    if (!lv.icons())
        lv.setIcons(&cache.large());
    if (!lv.smallIcons())
        lv.setSmallIcons(&cache.small());

    const int index = lv.addItem(name, position);
    lv.setSubItem(index, SizeSubItem, FormatFileSize(*length), *length);
    lv.setSubItem(index, TypeSubItem, cache.typeNameAt(position));
    return common::Ok{};
}

} // namespace

common::Result<qint64> listedFileLength(const FileList &files, const QString &name)
{
    return fileLength(joinPath(files.path(), name));
}

common::Status AddCatalogueEntry(const QString &path, const FileList &files, IconCache &cache,
                                 platform::ListView &lv)
{
    bool imagesAdded = false;
    const common::Status status = addEntry(path, files, cache, lv, imagesAdded);
    if (imagesAdded)
        lv.iconsChanged();
    return status;
}

common::Status ListFolder(const QString &folder, const FileList &files, IconCache &cache,
                          platform::ListView &lv)
{
    bool imagesAdded = false;
    common::Status status = common::Ok{};
    const QStringList &names = files.names();
    for (const QString &name : names) {
        status = addEntry(joinPath(folder, name), files, cache, lv, imagesAdded);
        if (!status)
            break;
    }
    if (imagesAdded)
        lv.iconsChanged();
    return status;
}

} // namespace pavix::catalogue
