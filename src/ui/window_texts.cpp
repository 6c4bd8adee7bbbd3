#include "ui/window_texts.h"

#include <algorithm>

#include "service/history_recorder.h"

namespace kaldor {
namespace {

using S = LiveSignal;
using T = WindowText;

// Where a signal's name comes from: a page's caption (its objectName: the readings page first,
// then the side panel, which stands beside every page) or a window text of its own.
struct SignalName {
    LiveSignal id;
    std::string_view control;
    WindowText text;
};

constexpr SignalName kSignalNames[] = {
    {S::EngineSpeed, "LabelPasRpm", T::Count},
    {S::PressureDifference, "LabelPasDif", T::Count},
    {S::ManifoldPressure, "LabelPasVac", T::Count},
    {S::GasPressure, "LabelPasAbs", T::Count},
    {S::AirFlow, "LabelOdLambda", T::Count},
    {S::Throttle, "LabelTPS", T::Count},
    {S::RailPressure, "LabelCommonRail", T::Count},
    {S::PropaneTemperature, "LabelOdTg", T::Count},
    {S::ReducerTemperature, "LabelOdTR", T::Count},
    {S::TankLevel, "LabelOdLevel", T::Count},
    {S::StepperPosition, "LabelStep", T::Count},
    {S::RegulatorValve, "AbLEDRed", T::Count},
    {S::TankValve, "AbLEDEzaw", T::Count},
    {S::DieselValve, "AbLEDdies", T::Count},
    {S::StepperOpening, {}, T::ChannelStepperOpening},
    {S::AirFlowInput, {}, T::ChannelAirFlowInput},
    {S::SupplyVoltage, {}, T::ChannelSupplyVoltage},
    {S::PowerStage, {}, T::ChannelPowerStage},
    {S::RailSignal, {}, T::ChannelRailSignal},
    {S::EmulatorChannel1, {}, T::ChannelEmulatorChannel1},
    {S::EmulatorChannel2, {}, T::ChannelEmulatorChannel2},
    {S::EmulatorCorrection1, {}, T::ChannelEmulatorCorrection1},
    {S::EmulatorCorrection2, {}, T::ChannelEmulatorCorrection2},
    {S::EngineSpeedThousands, {}, T::ChannelEngineSpeedThousands},
    {S::DifferentialPressure, {}, T::ChannelDifferentialPressure},
    {S::IgnitionVoltage, {}, T::ChannelIgnitionVoltage},
    {S::ChartCode1, {}, T::ChannelChartCode1},
    {S::ChartCode2, {}, T::ChannelChartCode2},
    {S::IgnitionOn, {}, T::ChannelIgnitionOn},
    {S::EngineSpeedError, {}, T::ChannelEngineSpeedError},
    {S::FuelMode, {}, T::ChannelFuelMode},
    {S::PressureError, {}, T::ChannelPressureError},
    {S::TankLevelStep, {}, T::ChannelTankLevelStep},
    {S::ErrorCounter, {}, T::ChannelErrorCounter},
    {S::EgtCorrection, {}, T::ChannelEgtCorrection},
    {S::AirFlowCorrection, {}, T::ChannelAirFlowCorrection},
    {S::GasTemperatureCorrection, {}, T::ChannelGasTemperatureCorrection},
    {S::GasPressureCorrection, {}, T::ChannelGasPressureCorrection},
    {S::ReducerTemperatureCorrection, {}, T::ChannelReducerTemperatureCorrection},
    {S::ManifoldPressureCorrection, {}, T::ChannelManifoldPressureCorrection},
    {S::DifferentialPressureCorrection, {}, T::ChannelDifferentialPressureCorrection},
    {S::EmulatorMeasuring, {}, T::ChannelEmulatorMeasuring},
    {S::CruiseActive, {}, T::ChannelCruiseActive},
    {S::CutOffActive, {}, T::ChannelCutOffActive},
    {S::FrequencyIn, {}, T::ChannelFrequencyIn},
    {S::FrequencyOut, {}, T::ChannelFrequencyOut},
    {S::Dtps1In, {}, T::ChannelDtps1In},
    {S::Dtps1Out, {}, T::ChannelDtps1Out},
    {S::Dtps2In, {}, T::ChannelDtps2In},
    {S::Dtps2Out, {}, T::ChannelDtps2Out},
    {S::ExhaustSignal, {}, T::ChannelExhaustSignal},
    {S::ExhaustTemperature, {}, T::ChannelExhaustTemperature},
    {S::OperationsPerSecond, {}, T::ChannelOperationsPerSecond},
    {S::DieselWorkTime, {}, T::ChannelDieselWorkTime},
    {S::PropaneWorkTime, {}, T::ChannelPropaneWorkTime},
};
static_assert(std::size(kSignalNames) == kLiveSignalCount, "every signal has a name");

const SignalName* nameOf(LiveSignal id) {
    const auto it = std::find_if(std::begin(kSignalNames), std::end(kSignalNames),
                                 [id](const SignalName& n) { return n.id == id; });
    return it == std::end(kSignalNames) ? nullptr : &*it;
}

std::string filled(std::string text, const std::string& first, const std::string& second = {}) {
    return QString::fromStdString(text)
        .arg(QString::fromStdString(first), QString::fromStdString(second))
        .toStdString();
}

}  // namespace

QString uiText(const SetupTexts& texts, WindowText text) {
    return QString::fromStdString(windowText(texts, text));
}

std::string countText(const SetupTexts& texts, WindowText one, WindowText many, std::size_t n) {
    return uiText(texts, n == 1 ? one : many).arg(n).toStdString();
}

std::string namesText(const SetupTexts& texts, const std::vector<std::string>& names,
                      std::size_t shown) {
    const std::size_t named = std::min(names.size(), shown);
    std::string text;
    for (std::size_t i = 0; i < named; ++i)
        text += (i == 0 ? "" : ", ") + names[i];
    if (named == names.size())
        return text;
    return filled(windowText(texts, T::MoreNames), text, std::to_string(names.size() - named));
}

std::string_view signalCaptionControl(LiveSignal id) {
    const SignalName* name = nameOf(id);
    return name != nullptr ? name->control : std::string_view();
}

std::optional<WindowText> signalWindowText(LiveSignal id) {
    const SignalName* name = nameOf(id);
    if (name == nullptr || !name->control.empty())
        return std::nullopt;
    return name->text;
}

QString channelName(const SetupTexts& texts, LiveSignal id) {
    if (const std::optional<WindowText> text = signalWindowText(id))
        return uiText(texts, *text);
    const auto caption = texts.captions.find(signalCaptionControl(id));
    // Without a language file the signal table's own name.
    return caption != texts.captions.end() ? QString::fromStdString(caption->second)
                                           : QString::fromUtf8(liveSignalDef(id).name);
}

std::string historyWhatText(const SetupTexts& texts, const std::string& what) {
    const auto startsWith = [](const std::string& text, std::string_view start) {
        return text.compare(0, start.size(), start) == 0;
    };
    const auto arg = [&](WindowText text, const std::string& in) {
        return uiText(texts, text).arg(QString::fromStdString(in)).toStdString();
    };
    constexpr std::string_view kBefore = "before ";
    constexpr std::string_view kRestoreOf = "restore of ";
    const bool before = startsWith(what, kBefore);
    std::string command = before ? what.substr(kBefore.size()) : what;
    if (before && startsWith(command, kRestoreOf))
        return arg(T::HistoryBeforeRestore, command.substr(kRestoreOf.size()));
    std::string detail;
    if (const std::size_t colon = command.find(": "); colon != std::string::npos) {
        detail = command.substr(colon);
        command.resize(colon);
    }
    // The commands the menu names by their items' captions, the others by window texts.
    const std::pair<const char*, const char*> items[] = {{kHistoryLoadToEcu, "loadtoECU1"},
                                                         {kHistoryLoadMap, "LoadMap1"},
                                                         {kHistoryReset, "RESET1"}};
    for (const auto& [english, item] : items)
        if (command == english)
            if (const auto caption = texts.captions.find(std::string_view(item));
                caption != texts.captions.end())
                command = caption->second;
    if (command == kHistoryConnected)
        command = windowText(texts, T::HistoryConnected);
    else if (command == kHistoryWritePcValues)
        command = windowText(texts, T::HistoryWritePc);
    return before ? arg(T::HistoryBefore, command + detail) : command + detail;
}

PortProblemWords portProblemWords(const SetupTexts& texts) {
    PortProblemWords words;
    words.noSuchDevice = windowText(texts, T::PortNoSuchDevice);
    words.permissionDenied = windowText(texts, T::PortPermissionDenied);
    words.busy = windowText(texts, T::PortBusy);
    words.notOpened = windowText(texts, T::PortNotOpened);
    words.joinGroup = windowText(texts, T::PortJoinGroup);
    words.checkCable = windowText(texts, T::PortCheckCable);
    words.closeOther = windowText(texts, T::PortCloseOther);
    words.group = windowText(texts, T::PortGroup);
    words.see = windowText(texts, T::PortSee);
    return words;
}

}  // namespace kaldor
