#include "service/config_transfer.h"

#include "service/settle_pause.h"

namespace kaldor {

bool ConfigTransfer::loadToEcu(const std::string& caption, const std::string& noConnectionText,
                               ProgressSink& bar, TimerSwitch& timer) {
    const std::optional<WriteRun> run =
        m_files.loadToEcu(caption, m_state.softwareRevision, heldPin(),
                          [&] { return writeImage(noConnectionText, bar, timer); });
    if (!run)
        return false;
    m_run = *run;
    m_pending = Pending::FullWrite;
    return true;
}

bool ConfigTransfer::loadImage(const EcuImage::Bytes& bytes, const std::string& noConnectionText,
                               ProgressSink& bar, TimerSwitch& timer) {
    ConfigFile file;
    file.bytes = bytes;
    file.length = bytes.size();
    file.size = bytes.size();
    loadKeepingControllerParts(m_image, file, heldPin());
    m_run = writeImage(noConnectionText, bar, timer);
    m_pending = Pending::FullWrite;
    return true;
}

WriteRun ConfigTransfer::writeImage(const std::string& noConnectionText, ProgressSink& bar,
                                    TimerSwitch& timer) {
    timer.setTimerEnabled(false);
    m_transfer.pause(kWriteSettleMs);
    bar.setPosition(0);
    return m_transfer.writeWords(noConnectionText, bar, true);
}

bool ConfigTransfer::loadMap(const std::string& caption, const std::string& noConnectionText,
                             ProgressSink& bar, TimerSwitch& timer) {
    const std::optional<WriteRun> run =
        m_files.loadMap(caption, m_transfer, bar, timer, noConnectionText);
    if (!run)
        return false;
    m_run = *run;
    m_pending = Pending::MapLoad;
    return true;
}

WriteRun ConfigTransfer::finishLoad(ProgressSink& bar, TimerSwitch& timer) {
    const Pending pending = m_pending;
    m_pending = Pending::Nothing;
    WriteRun run = m_run;
    m_run = WriteRun{};
    switch (pending) {
        case Pending::FullWrite:
            run = m_transfer.writeValidMarker(run, bar);
            timer.setTimerEnabled(true);
            break;
        case Pending::MapLoad:
            m_files.finishLoadMap(timer);
            break;
        case Pending::Nothing:
            break;
    }
    return run;
}

}  // namespace kaldor
