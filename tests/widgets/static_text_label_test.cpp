#include "widgets/static_text_label.h"

#include "tests/widgets/changed_pixels.h"

#include <QImage>
#include <QLabel>
#include <gtest/gtest.h>

namespace {

QImage Drawn(QLabel& label) {
    label.resize(30, 18);
    label.setAlignment(Qt::AlignCenter);
    return label.grab().toImage();
}

// The kept layout draws what a plain label draws, and follows a new text or font.
TEST(StaticTextLabel, DrawsLikeALabelAndFollowsTextAndFont) {
    struct Case {
        const char* text;
        int pixels;
    };
    for (const Case& c : {Case{"4", 0}, Case{"25", 0}, Case{"80", 14}}) {
        SCOPED_TRACE(c.text);
        StaticTextLabel kept("0");
        Drawn(kept);
        kept.setText(c.text);
        QFont font = kept.font();
        if (c.pixels > 0) {
            font.setPixelSize(c.pixels);
            kept.setFont(font);
        }
        QLabel plain(c.text);
        plain.setFont(font);
        const QImage expected = Drawn(plain);
        EXPECT_LE(ChangedPixels(Drawn(kept), expected), expected.width() * expected.height() / 50);
        QLabel before("0");
        before.setFont(font);
        EXPECT_GT(ChangedPixels(Drawn(kept), Drawn(before)), 0) << "the old layout is not shown";
    }
}

} // namespace
