// The look of the memos' scroll bars: a thumb that reads as the thumb.
//
// The default style paints the thumb in the light button colour on a
// slightly darker groove. When most of a list is in view the thumb fills
// most of the bar, and what the eye takes for the thumb is the short dark
// stretch of groove at the other end: a list shown from its first row
// seems to be scrolled to its end, and the reverse. This style keeps
// everything of the application's style and paints the thumb a clearly
// darker grey, so that the dark part of the bar is where the view is.
#pragma once

#include <QProxyStyle>

namespace vantel::ui {

class Thumb_style : public QProxyStyle {
public:
    // Follows the application's style for everything but the thumb.
    Thumb_style() = default;

    void drawComplexControl(ComplexControl control, const QStyleOptionComplex* option,
                            QPainter* painter, const QWidget* widget = nullptr) const override;
};

}  // namespace vantel::ui
