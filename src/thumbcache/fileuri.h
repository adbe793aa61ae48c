#pragma once
// Names in the desktop's shared thumbnail cache: a file is known there by its file:// URI,
// and its thumbnail is stored under the MD5 of that URI.

#include <QByteArray>
#include <QString>

namespace pavix::thumbcache {

// The path with "." and ".." steps and doubled or trailing "/" removed: "/a//b/./c/../d/"
// gives "/a/b/d". Only for an absolute path; a relative one comes back empty.
QByteArray cleanAbsolutePath(const QByteArray &path);

// The file:// URI of a local file from the bytes of its absolute path, the way the file
// managers of the desktop spell it: letters, digits and -_.!~*'()/:@&=+$, stay as they are,
// every other byte (space, %, #, ;, ?, [], non-ASCII) becomes %XX in capitals.
// "/home/jens/photos/me.png" gives "file:///home/jens/photos/me.png". The path is cleaned
// first; a relative path gives an empty URI.
QByteArray fileUri(const QByteArray &absolutePath);

// The name of a thumbnail file for a URI: the 32 lower-case hex digits of the URI's MD5,
// then ".png".
QString thumbnailFileName(const QByteArray &uri);

} // namespace pavix::thumbcache
