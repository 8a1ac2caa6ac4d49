// Where a part of a scroll bar (an arrow, the groove, the thumb) lies, as the bar's style draws it.
#pragma once

#include <QRect>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionSlider>

namespace corvani::test {

inline QRect scrollBarPart(const QScrollBar& bar, QStyle::SubControl which) {
  QStyleOptionSlider option;
  option.initFrom(&bar);
  option.orientation = bar.orientation();
  option.minimum = bar.minimum();
  option.maximum = bar.maximum();
  option.sliderPosition = option.sliderValue = bar.value();
  option.singleStep = bar.singleStep();
  option.pageStep = bar.pageStep();
  return bar.style()->subControlRect(QStyle::CC_ScrollBar, &option, which, &bar);
}

}  // namespace corvani::test
