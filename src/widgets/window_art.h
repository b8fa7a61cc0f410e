#pragma once

// The drawn parts of the windows without a border: the title band, a frame with a titled tab, the
// plate under a flat button, and the figure displays and labels that sit on them.

#include <QString>

class QLabel;
class QLineEdit;
class QPixmap;
class QListWidget;
class QLCDNumber;
class QPainter;
class QRect;
class QRectF;
class QTableView;
class QWidget;

namespace WindowArt {

// The windows' text size: 9 points in the window's own font, inherited by its controls.
void UseWindowFont(QWidget* window);

// The light paper the windows are drawn on, over rect (from warm at the top to cool below).
void PaintPaper(QPainter& p, const QRect& rect);
// The dark edge around a window without a border, just inside rect.
void PaintWindowEdge(QPainter& p, const QRect& rect);
// A blue band across rect with the window's title in white at its left.
void PaintTitleBand(QPainter& p, const QRect& band, const QString& title, int titlePixels);
// A light rounded frame with a tab carrying its title over the frame's top edge.
void PaintTitledFrame(QPainter& p, const QRect& frame, const QString& title, int tabWidth);
// The raised plate under a flat button.
void PaintButtonPlate(QPainter& p, const QRect& button);
// A light board with a thin rim that groups what lies on it (totals, settings); opacity is the
// white's alpha.
void PaintBoard(QPainter& p, const QRectF& board, qreal radius = 8, int opacity = 160);

// A label in the windows' ink on a transparent background.
QLabel* MakeLabel(QWidget* parent, const char* name, const QString& text);
// A picture label named name showing picture (a layout's drawn background).
QLabel* MakePicture(QWidget* parent, const char* name, const QPixmap& picture);
// A field for a whole number of at most three digits, right-aligned; nothing but digits enters.
QLineEdit* MakeNumberEdit(QWidget* parent, const char* name);
// The style sheet of a titled group of options (radio buttons, check boxes) on the paper.
QString GroupStyle();
// A read-only grid selecting whole rows, one at a time, in the windows' colours.
QTableView* MakeGrid(QWidget* parent, const char* name);
// A list of headings selecting one at a time, in the windows' colours.
QListWidget* MakeList(QWidget* parent, const char* name);
// A figure display with digits places, showing 0.
QLCDNumber* MakeFigure(QWidget* parent, const char* name, int digits);

} // namespace WindowArt
