#include "platform/clipboard.h"
#include "platform/pictureservice.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace pavix::platform;

TEST(PictureTransfer, ClipboardGivesThePictureBackAsABitmap)
{
    const auto picture = loadPicture(QStringLiteral(PAVIX_CORPUS_DIR "/good/hopper.bmp"));
    ASSERT_TRUE(picture.ok());
    putPictureOnClipboard(picture.value());
    const QImage back = clipboardBitmap();
    ASSERT_EQ(back.size(), QSize(128, 128));
    EXPECT_EQ(back.format(), QImage::Format_RGB32);
    EXPECT_EQ(back.pixel(40, 70), picture.value().pixel(40, 70));
    putPictureOnClipboard(QImage());
    EXPECT_TRUE(clipboardBitmap().isNull());
}
