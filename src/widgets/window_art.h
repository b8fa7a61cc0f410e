#pragma once

// The drawn parts of the windows without a border: the title band, a frame with a titled tab, the
// plate under a flat button, and the figure displays and labels that sit on them.

#include <QString>

class QLabel;
class QListWidget;
class QLCDNumber;
class QPainter;
class QRect;
class QTableView;
class QWidget;

namespace WindowArt {

// A blue band across rect with the window's title in white at its left.
void PaintTitleBand(QPainter& p, const QRect& band, const QString& title, int titlePixels);
// A light rounded frame with a tab carrying its title over the frame's top edge.
void PaintTitledFrame(QPainter& p, const QRect& frame, const QString& title, int tabWidth);
// The raised plate under a flat button.
void PaintButtonPlate(QPainter& p, const QRect& button);

// A label in the windows' ink on a transparent background.
QLabel* MakeLabel(QWidget* parent, const char* name, const QString& text);
// A read-only grid selecting whole rows, one at a time, in the windows' colours.
QTableView* MakeGrid(QWidget* parent, const char* name);
// A list of headings selecting one at a time, in the windows' colours.
QListWidget* MakeList(QWidget* parent, const char* name);
// A figure display with digits places, showing 0.
QLCDNumber* MakeFigure(QWidget* parent, const char* name, int digits);

} // namespace WindowArt
