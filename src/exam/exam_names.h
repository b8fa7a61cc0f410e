#pragma once

#include "practice/practice_names.h"

#include <QString>
#include <QVector>

// The names the exam window gives the parts it shares with the practice windows, and its own
// buttons (epEfTrBtn1 .. epEfTrBtn13) with their captions.
namespace ExamNames {

const ControlNames& Parts();

struct ButtonEntry {
    int number; // epEfTrBtn<number>
    QString caption;
};
// Every button of the window, in the order they are built.
const QVector<ButtonEntry>& Buttons();
QString ButtonName(int number);

} // namespace ExamNames
