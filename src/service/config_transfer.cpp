#include "service/config_transfer.h"

#include "service/settle_pause.h"

namespace kaldor {

bool ConfigTransfer::loadToEcu(const std::string& caption, const std::string& noConnectionText,
                               ProgressSink& bar, TimerSwitch& timer) {
    const bool loaded = m_files.loadToEcu(caption, m_state.softwareRevision, heldPin(),
                                          [&] { writeImage(noConnectionText, bar, timer); });
    if (loaded)
        m_pending = Pending::FullWrite;
    return loaded;
}

bool ConfigTransfer::loadImage(const EcuImage::Bytes& bytes, const std::string& noConnectionText,
                               ProgressSink& bar, TimerSwitch& timer) {
    ConfigFile file;
    file.bytes = bytes;
    file.length = bytes.size();
    loadKeepingControllerParts(m_image, file, heldPin());
    writeImage(noConnectionText, bar, timer);
    m_pending = Pending::FullWrite;
    return true;
}

void ConfigTransfer::writeImage(const std::string& noConnectionText, ProgressSink& bar,
                                TimerSwitch& timer) {
    timer.setTimerEnabled(false);
    m_transfer.pause(kWriteSettleMs);
    bar.setPosition(0);
    m_transfer.writeWords(noConnectionText, bar, true);
}

bool ConfigTransfer::loadMap(const std::string& caption, const std::string& noConnectionText,
                             ProgressSink& bar, TimerSwitch& timer) {
    const bool loaded = m_files.loadMap(caption, m_transfer, bar, timer, noConnectionText);
    if (loaded)
        m_pending = Pending::MapLoad;
    return loaded;
}

void ConfigTransfer::finishLoad(ProgressSink& bar, TimerSwitch& timer) {
    const Pending pending = m_pending;
    m_pending = Pending::Nothing;
    switch (pending) {
        case Pending::FullWrite:
            m_transfer.writeValidMarker(bar);
            timer.setTimerEnabled(true);
            break;
        case Pending::MapLoad:
            m_files.finishLoadMap(timer);
            break;
        case Pending::Nothing:
            break;
    }
}

}  // namespace kaldor
