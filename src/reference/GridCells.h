#pragma once

#include <QRect>
#include <QString>

class QLabel;
class QLineEdit;
class QWidget;

// The flat cells of the codes and institution windows. Cells sit at a pitch
// one pixel less than their size, so neighbours share their frame lines and
// the cells read as one grid.
namespace GridCells {

inline constexpr int kHeight = 18;
inline constexpr int kPitch = 17;

// Given to a window that holds cells; the cells take their look from it.
QString styleSheet();

// White and editable. No Tab stop unless the window wants one.
QLineEdit *valueCell(QWidget *parent, const QString &name, const QRect &geometry);
// Grey and disabled, with black text: a caption that looks like a cell.
QLineEdit *labelCell(QWidget *parent, const QString &name, const QString &text, const QRect &geometry);
// Grey but editable: headings and titles that the user may reword.
QLineEdit *headingCell(QWidget *parent, const QString &name, const QRect &geometry);
// Puts a stored text into a cell showing its beginning, as a long name
// should read.
void showText(QLineEdit *cell, const QString &text);

// A framed column header in the small header font, broken into lines when
// it is wider than its column.
QLabel *headerBox(QWidget *parent, const QString &text, const QRect &geometry);

} // namespace GridCells
