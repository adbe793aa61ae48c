#include "preview/fileinfo.h"

#include <gtest/gtest.h>

using pavix::preview::FileInfoTexts;
using pavix::preview::fileInfoTexts;

TEST(ShowFileInfo, PartEdgesAreQuartersOfTheWindow)
{
    const FileInfoTexts texts = fileInfoTexts(1003, 640, 480, QStringLiteral("a.bmp"), QStringLiteral("10"));
    EXPECT_EQ(texts.rightEdgesPx, (std::array<int, 4>{250, 500, 750, -1}));
    EXPECT_EQ(fileInfoTexts(3, 1, 1, {}, {}).rightEdgesPx, (std::array<int, 4>{0, 0, 0, -1}));
    // Truncation is toward zero, never toward minus infinity.
    EXPECT_EQ(fileInfoTexts(-7, 1, 1, {}, {}).rightEdgesPx, (std::array<int, 4>{-1, -2, -3, -1}));
}

TEST(ShowFileInfo, TextsNameTheFileItsPixelsAndItsLength)
{
    const FileInfoTexts texts = fileInfoTexts(800, 640, 480, QStringLiteral("my photo.JPG"),
                                              QStringLiteral("1,234,567"));
    EXPECT_EQ(texts.file, QStringLiteral("File: my photo.JPG"));
    EXPECT_EQ(texts.dim, QStringLiteral("Dim: 640x480"));
    EXPECT_EQ(texts.size, QStringLiteral("Size: 1,234,567 bytes"));

    const FileInfoTexts empty = fileInfoTexts(800, 0, 0, QString(), QStringLiteral("0"));
    EXPECT_EQ(empty.file, QStringLiteral("File: "));
    EXPECT_EQ(empty.dim, QStringLiteral("Dim: 0x0"));
    EXPECT_EQ(empty.size, QStringLiteral("Size: 0 bytes"));
}
