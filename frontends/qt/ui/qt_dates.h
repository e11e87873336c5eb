// The one crossing between the platform's dates and Qt's, for every widget
// that shows or takes a date: the day only, the time of day dropped.
#pragma once

#include <QDate>

#include "platform/value/date.h"

namespace kvt::qt {

inline vb::Date FromQDate(const QDate& date) {
  return vb::Date::FromYmd(date.year(), date.month(), date.day());
}

inline QDate ToQDate(const vb::Date& date) { return QDate(date.Year(), date.Month(), date.Day()); }

}  // namespace kvt::qt
