#pragma once

#include <QString>
#include <QVariantMap>
#include <QVector>

// Process-wide values shared by the windows. Set and read in the user-interface thread only.
namespace App {

inline QString AppPath;             // program folder, always ending in "/"
inline QString ScreenMode = "1024"; // "800" or "1024", decided when the main form is created
inline int PaperKind = 0;           // exam kind 1..5 whose question-type table is in use
inline int ConfigMode = 0;          // settings window: 0 music, 1 answer times only
inline QVector<int> TypeTimes;      // answer time per question type, tenths of a second
inline QVector<int> TypeCodes;      // the type codes of TypeTimes, same order
inline bool MusicOn = false;
inline QString MusicFile;        // the track the settings window plays
inline int VolumeLevel = 10;     // 1..16
inline QString ChapterHeading;   // C1_1 of the chapter tree's current row
inline QString PracticeQuerySql; // the question set of the next practice
// The values bound to PracticeQuerySql's parameters; the practice's set-up takes them, so they
// never reach another practice's statement.
inline QVariantMap PracticeQueryParams;
inline QString FirstQuestionId;
inline bool NoteHasContent = false;
inline int ChosenPointCount = 0;
inline int SheetSize = 95;

} // namespace App
