#pragma once

class MusicPlayer;
class DocumentOpener;
class DesktopControl;
class WordProcessor;

// The platform services the windows use. Each has one real implementation, made on first use;
// a test puts its own in place with the setter and restores the real one with nullptr (the
// caller keeps ownership of what it sets).
namespace Platform {

MusicPlayer& music();
void setMusic(MusicPlayer* player);

DocumentOpener& documents();
void setDocuments(DocumentOpener* opener);

DesktopControl& desktop();
void setDesktop(DesktopControl* control);

WordProcessor& wordProcessor();
void setWordProcessor(WordProcessor* processor);

// Releases the real implementations (the music stops); called by the program entry at the end.
void shutdown();

} // namespace Platform
