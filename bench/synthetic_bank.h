#pragma once

#include <QString>

// Synthetic banks for benchmarks: a program folder holding data/QK730415.db with the given number
// of questions spread over 2 subjects x 5 parts x 5 chapters x 4 sections (200 sections), each
// question linked to two of 5,000 knowledge points (every fifth to a third one), 50 points under
// each of 100 catalogue chapters; a year of daily log rows.
namespace SyntheticBank {

// Returns the program folder (ending in "/"), built once per size under the system's temp folder.
QString programFolder(int questions);
// The same folder with the program's button pictures in pic/, as windows that draw their
// buttons from files need them.
QString programFolderWithPictures(int questions);

// The code of section s (0..199) and the id of knowledge point p (0..4999).
QString sectionCode(int s);
QString pointId(int p);

} // namespace SyntheticBank
