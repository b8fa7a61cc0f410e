#include "platform/platform_services.h"

#include "platform/desktop_services.h"
#include "platform/music_player.h"
#include "platform/word_processor.h"

#include <memory>

namespace Platform {

namespace {
template <typename Interface, typename Real> struct Slot {
    std::unique_ptr<Real> real;
    Interface* override = nullptr;

    Interface& get() {
        if (override)
            return *override;
        if (!real)
            real = std::make_unique<Real>();
        return *real;
    }
};

Slot<MusicPlayer, FluidMusicPlayer>& musicSlot() {
    static Slot<MusicPlayer, FluidMusicPlayer> s;
    return s;
}
Slot<DocumentOpener, DesktopDocumentOpener>& documentSlot() {
    static Slot<DocumentOpener, DesktopDocumentOpener> s;
    return s;
}
Slot<DesktopControl, WindowMinimizer>& desktopSlot() {
    static Slot<DesktopControl, WindowMinimizer> s;
    return s;
}
Slot<WordProcessor, DesktopWordProcessor>& wordProcessorSlot() {
    static Slot<WordProcessor, DesktopWordProcessor> s;
    return s;
}
} // namespace

MusicPlayer& music() {
    return musicSlot().get();
}
void setMusic(MusicPlayer* player) {
    musicSlot().override = player;
}

DocumentOpener& documents() {
    return documentSlot().get();
}
void setDocuments(DocumentOpener* opener) {
    documentSlot().override = opener;
}

DesktopControl& desktop() {
    return desktopSlot().get();
}
void setDesktop(DesktopControl* control) {
    desktopSlot().override = control;
}

WordProcessor& wordProcessor() {
    return wordProcessorSlot().get();
}
void setWordProcessor(WordProcessor* processor) {
    wordProcessorSlot().override = processor;
}

void shutdown() {
    musicSlot().real.reset();
    documentSlot().real.reset();
    desktopSlot().real.reset();
    wordProcessorSlot().real.reset();
}

} // namespace Platform
