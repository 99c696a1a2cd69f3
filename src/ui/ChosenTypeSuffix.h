#pragma once

#include <QString>

namespace pq::ui {

// The one suffix of a file type "Description (*.ext)", "ext"; empty for a type of several or of any.
QString suffixOfType(const QString& type);

// The path a save dialog hands back once the operator chose a file type from its list (`chosenType`,
// one entry of `filter` in Qt's form, "Excel 工作簿 (*.xlsx)"), so that the name says what the caller
// writes, which goes by the suffix. A name ending in the suffix of a type of the list (any case)
// stays: the chosen type's, or one the operator named on purpose. Any other name keeps all that was
// typed and takes the chosen type's suffix after it: "a.xls" under "(*.xlsx)" is "a.xls.xlsx",
// "2024.03" is "2024.03.xlsx". A type of several suffixes or of any ("*.*") changes nothing.
QString pathOfChosenType(const QString& path, const QString& filter, const QString& chosenType);

}  // namespace pq::ui
