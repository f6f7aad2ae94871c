#include "ui/FlatScrollBars.h"

#include <QAbstractScrollArea>
#include <QPainter>
#include <QProxyStyle>
#include <QScrollBar>
#include <QStyleOptionSlider>

namespace ui {

namespace {

class TFlatScrollBarStyle : public QProxyStyle {
 public:
  void drawComplexControl(ComplexControl control, const QStyleOptionComplex* option,
                          QPainter* painter, const QWidget* widget) const override {
    const auto* bar = qstyleoption_cast<const QStyleOptionSlider*>(option);
    if (control != CC_ScrollBar || bar == nullptr) {
      QProxyStyle::drawComplexControl(control, option, painter, widget);
      return;
    }
    const QPalette& palette = bar->palette;
    const bool enabled = (bar->state & State_Enabled) != 0;
    const auto fill = [&](SubControl part) {
      QColor color = palette.color(QPalette::Button);
      if ((bar->activeSubControls & part) != 0 && (bar->state & State_Sunken) != 0) {
        color = color.darker(120);
      } else if ((bar->activeSubControls & part) != 0 && (bar->state & State_MouseOver) != 0) {
        color = color.darker(108);
      }
      return color;
    };
    const auto button = [&](const QRect& rect, SubControl part) {
      painter->fillRect(rect, fill(part));
      painter->setPen(palette.color(QPalette::Mid));
      painter->drawRect(rect.adjusted(0, 0, -1, -1));
    };

    painter->save();
    painter->fillRect(bar->rect, palette.color(QPalette::Window).darker(104));
    const QRect slider = subControlRect(CC_ScrollBar, bar, SC_ScrollBarSlider, widget);
    if (enabled && bar->maximum > bar->minimum && slider.isValid()) {
      button(slider, SC_ScrollBarSlider);
    }
    const bool horizontal = bar->orientation == Qt::Horizontal;
    const struct {
      SubControl part;
      PrimitiveElement arrow;
    } lines[] = {
        {SC_ScrollBarSubLine, horizontal ? PE_IndicatorArrowLeft : PE_IndicatorArrowUp},
        {SC_ScrollBarAddLine, horizontal ? PE_IndicatorArrowRight : PE_IndicatorArrowDown}};
    for (const auto& line : lines) {
      const QRect rect = subControlRect(CC_ScrollBar, bar, line.part, widget);
      if (!rect.isValid()) continue;
      button(rect, line.part);
      QStyleOption arrow(*bar);
      arrow.rect = rect.adjusted(2, 2, -2, -2);
      proxy()->drawPrimitive(line.arrow, &arrow, painter, widget);
    }
    painter->restore();
  }
};

void Flatten(QScrollBar* bar) {
  auto* style = new TFlatScrollBarStyle;
  // The bar does not own a style it is given; this one lives and dies with it.
  style->setParent(bar);
  bar->setStyle(style);
}

}  // namespace

void UseFlatScrollBars(QAbstractScrollArea& area) {
  Flatten(area.verticalScrollBar());
  Flatten(area.horizontalScrollBar());
}

}  // namespace ui
