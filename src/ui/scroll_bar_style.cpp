#include "ui/scroll_bar_style.h"

#include <QPainter>
#include <QStyleOptionSlider>

namespace vantel::ui {

void Thumb_style::drawComplexControl(ComplexControl control, const QStyleOptionComplex* option,
                                     QPainter* painter, const QWidget* widget) const
{
    QProxyStyle::drawComplexControl(control, option, painter, widget);
    if (control != CC_ScrollBar) return;
    const auto* bar = qstyleoption_cast<const QStyleOptionSlider*>(option);
    // With nothing to scroll the whole list is in view: the bar stays a
    // plain track, as the base style leaves it.
    if (!bar || bar->maximum <= bar->minimum || !(bar->subControls & SC_ScrollBarSlider)) return;
    const QRect thumb = subControlRect(CC_ScrollBar, bar, SC_ScrollBarSlider, widget);
    if (thumb.isEmpty()) return;
    const bool dragged = (bar->activeSubControls & SC_ScrollBarSlider) && (bar->state & State_Sunken);
    const QColor face = bar->palette.color(QPalette::Button);
    painter->save();
    painter->setPen(face.darker(dragged ? 200 : 175));
    painter->setBrush(face.darker(dragged ? 150 : 135));
    painter->drawRect(thumb.adjusted(0, 0, -1, -1));
    painter->restore();
}

}  // namespace vantel::ui
