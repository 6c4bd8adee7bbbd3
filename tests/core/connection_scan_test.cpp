#include <gtest/gtest.h>

#include <algorithm>

#include "link/connection_scan.h"
#include "model/fields.h"
#include "support/scripted_controller.h"

using namespace kaldor;
using namespace kaldor::test;

namespace {

struct RecordingHooks : ScanHooks {
    std::vector<std::string> calls;
    std::string title;
    std::string caption = "[F10] autoconnect (COM1-16)";
    void setWindowTitle(const std::string& t) override {
        title = t;
        calls.push_back("title");
    }
    void appendConnectCaption(const std::string& piece) override { caption += piece; }
    bool readImage() override {
        calls.push_back("read image");
        return imageReads;
    }
    bool consentToConfirm(std::uint8_t software) override {
        calls.push_back("consent " + std::to_string(software));
        return consents;
    }
    bool imageReads = true;
    bool consents = true;
};

struct ScanFixture : ::testing::Test, ScriptedLink {
    EcuImage image;
    RecordingPrompts prompts;
    RecordingHooks hooks;
    ConnectionScan scanner{commands, state, image, prompts, hooks};
    std::map<int, ScriptedController> controllers;  // ports without one stay silent

    void SetUp() override {
        port.responder = [this](int p, const Bytes& frame) {
            auto it = controllers.find(p);
            return it == controllers.end() ? Bytes{} : it->second.answer(frame);
        };
    }
    ScriptedController& controllerOn(int p, std::uint8_t hardware, std::uint8_t software) {
        ScriptedController& c = controllers[p];
        c.hardware = hardware;
        c.software = software;
        return c;
    }
    // The scan as the window runs it: the controls show the image before the polling may run;
    // the pages are locked when the image could not be read.
    ScanOutcome scan() {
        const ScanOutcome outcome = scanner.scan();
        if (outcome == ScanOutcome::Connected) {
            EXPECT_FALSE(state.linkReady);
            hooks.calls.push_back("refresh");
            scanner.goLive();
        }
        if (outcome == ScanOutcome::ImageReadFailed)
            hooks.calls.push_back("lock");
        return outcome;
    }
    std::set<int> opened() const { return {port.openAttempts.begin(), port.openAttempts.end()}; }
};

TEST_F(ScanFixture, Revision11ConfirmedOnCom1EndsTheScanThere) {
    controllerOn(1, 2, 11);
    image.setDword(242, 770123);  // what the image read would bring
    EXPECT_EQ(scan(), ScanOutcome::Connected);
    EXPECT_EQ(opened(), std::set<int>{1});
    EXPECT_TRUE(state.connected);
    EXPECT_TRUE(state.linkReady);
    EXPECT_EQ(state.hardwareRevision, 2);
    EXPECT_EQ(state.softwareRevision, 11);
    EXPECT_EQ(state.portNumber, 1);
    EXPECT_EQ(hooks.title, "KALDOR DIESEL v4.706 Rev.H:2 Rev.S:11 TR770  COM1 SN: 770123");
    const std::vector<std::string> order{"consent 11", "title", "read image", "refresh", "title"};
    EXPECT_EQ(hooks.calls, order);
    EXPECT_TRUE(prompts.messages.empty());
    EXPECT_EQ(log.writes(), (std::vector<std::string>{"01 00 00 00 AB F2", "02 00 00 00 AC F2"}));
    EXPECT_EQ(log.events.front(), "pause 150");
    EXPECT_EQ(log.events.back(), "pause 50");
}

TEST_F(ScanFixture, Revision11WithoutConsentEndsTheScanBeforeTheConfirm) {
    controllerOn(1, 2, 11);
    controllerOn(2, 2, 10);
    hooks.consents = false;
    EXPECT_EQ(scan(), ScanOutcome::Declined);
    EXPECT_EQ(log.writes(), std::vector<std::string>{"01 00 00 00 AB F2"});
    EXPECT_EQ(opened(), std::set<int>{1});
    EXPECT_FALSE(link.portOpen());
    EXPECT_FALSE(state.connected);
    EXPECT_TRUE(prompts.messages.empty());
}

TEST_F(ScanFixture, Revision10NeedsNoConfirmAndHasNoSerialNumber) {
    controllerOn(3, 1, 10);
    EXPECT_EQ(scan(), ScanOutcome::Connected);
    EXPECT_EQ(hooks.title, "KALDOR DIESEL v4.706 Rev.H:1 Rev.S:10 TR770  COM3");
    EXPECT_EQ(log.writes().size(), 3u);  // identify on COM1, COM2, COM3; never confirm
}

TEST_F(ScanFixture, UnrecognisedIdentificationIsSkipped) {
    controllerOn(1, 2, 11).failIdentify = 1;
    controllerOn(2, 2, 9);
    EXPECT_EQ(scan(), ScanOutcome::Connected);
    EXPECT_EQ(state.portNumber, 2);
}

TEST_F(ScanFixture, Revision12StopsTheScanEvenWithAGoodControllerLater) {
    controllerOn(1, 2, 12);
    controllerOn(2, 2, 10);
    EXPECT_EQ(scan(), ScanOutcome::NeedUpdate);
    EXPECT_EQ(prompts.messages,
              std::vector<std::string>{"Need software update. Download From www !!!"});
    EXPECT_EQ(opened(), std::set<int>{1});
    EXPECT_FALSE(link.portOpen());
    EXPECT_FALSE(state.connected);
}

TEST_F(ScanFixture, InvalidConfirmOnCom2ShowsTheInterfaceMessageAndTriesCom3) {
    controllerOn(2, 2, 11).failConfirm = 1;
    controllerOn(3, 2, 11);
    EXPECT_EQ(scan(), ScanOutcome::Connected);
    EXPECT_EQ(prompts.messages, std::vector<std::string>{"!! Unknown error (interface ?) !!"});
    EXPECT_EQ(state.portNumber, 3);
}

TEST_F(ScanFixture, ConfirmFailuresEndTheScan) {
    controllerOn(1, 2, 11).answersConfirm = false;
    controllerOn(2, 2, 10);
    EXPECT_EQ(scan(), ScanOutcome::ConfirmFailed);
    EXPECT_EQ(prompts.messages, std::vector<std::string>{"!! ECU ID Confirm Error !!"});
    EXPECT_FALSE(link.portOpen());

    prompts.messages.clear();
    controllers[1].answersConfirm = true;
    controllers[1].confirmStatus = 3;
    EXPECT_EQ(scan(), ScanOutcome::SoftwareError);
    EXPECT_EQ(prompts.messages, std::vector<std::string>{"!! Software ERROR !!"});
    EXPECT_EQ(state.confirmStatus, 3);
    EXPECT_FALSE(state.linkReady);
}

TEST_F(ScanFixture, FailedOpenIsRetriedOnceThenSkipped) {
    port.failOpens[1] = 1;  // second attempt works
    port.failOpens[2] = 2;  // both fail
    port.existing = {1, 2};
    EXPECT_EQ(scan(), ScanOutcome::NotFound);
    const auto& tries = port.openAttempts;
    EXPECT_EQ(std::count(tries.begin(), tries.end(), 1), 2);
    EXPECT_EQ(std::count(tries.begin(), tries.end(), 2), 2);
    EXPECT_EQ(port.openAttempts.size(), 2u + 2u + 14u * 2u);
    EXPECT_EQ(log.writes().size(), 1u);  // only COM1 opened and was asked
    EXPECT_FALSE(state.connected);
    EXPECT_FALSE(state.linkReady);
    EXPECT_TRUE(prompts.messages.empty());
}

TEST_F(ScanFixture, PortsThatCannotBeOpenedAreSaidApartFromSilentOnes) {
    auto failure = [](PortOpenError error, const std::string& device, bool named = false) {
        PortOpenResult r;
        r.error = error;
        r.device = device;
        r.named = named;
        return r;
    };
    port.existing = {1, 2};  // COM2 opens and stays silent
    port.openErrors[1] = failure(PortOpenError::Busy, "/dev/ttyUSB0");
    port.openErrors[9] = failure(PortOpenError::NoSuchDevice, "/dev/ttyACM0");  // a default
    port.openErrors[10] = failure(PortOpenError::NoSuchDevice, "/dev/serial/by-id/x", true);
    for (int p = 13; p <= 16; ++p)
        port.openErrors[p] =
            failure(PortOpenError::PermissionDenied, "/dev/ttyS" + std::to_string(p - 13));
    EXPECT_EQ(scanner.scan(), ScanOutcome::NotFound);
    ASSERT_EQ(scanner.portProblems().size(), 7u);
    EXPECT_EQ(portProblemLines(scanner.portProblems()),
              (std::vector<std::string>{
                  "COM1 (/dev/ttyUSB0): busy (another program holds it); close the other "
                  "program and try again",
                  "COM10 (/dev/serial/by-id/x): no such device; check the cable and the device "
                  "named in [Ports]",
                  "COM13-COM16 (/dev/ttyS0 ... /dev/ttyS3): permission denied; join the group "
                  "\"dialout\" and log in again (README, \"Serial ports\")"}));
    EXPECT_EQ(portProblemBriefs(scanner.portProblems()),
              (std::vector<std::string>{"COM1: busy", "COM10: no such device",
                                        "COM13-COM16: permission denied (group dialout)",
                                        "see README, \"Serial ports\""}));

    // The next scan starts afresh: a port that opens is no problem any more.
    port.openErrors.clear();
    port.existing = {1};
    EXPECT_EQ(scanner.scan(), ScanOutcome::NotFound);
    EXPECT_TRUE(scanner.portProblems().empty());
}

TEST_F(ScanFixture, UnreadImageRefusesTheConnectionAndLocksThePages) {
    controllerOn(1, 2, 11);
    hooks.imageReads = false;
    EXPECT_EQ(scan(), ScanOutcome::ImageReadFailed);
    const std::vector<std::string> order{"consent 11", "title", "read image", "title", "lock"};
    EXPECT_EQ(hooks.calls, order);
    EXPECT_EQ(hooks.title, "KALDOR DIESEL v4.706");
    EXPECT_EQ(prompts.messages, std::vector<std::string>{kMsgImageReadFailed});
    EXPECT_FALSE(link.portOpen());
    EXPECT_FALSE(state.connected);
    EXPECT_FALSE(state.linkReady);
    EXPECT_EQ(opened(), std::set<int>{1});
}

TEST_F(ScanFixture, ScanThatFindsNothingForgetsTheLastControllerInTheCaption) {
    controllerOn(1, 2, 10);
    ASSERT_EQ(scan(), ScanOutcome::Connected);
    controllers.clear();
    EXPECT_EQ(scan(), ScanOutcome::NotFound);
    EXPECT_EQ(hooks.title, "KALDOR DIESEL v4.706");
}

TEST_F(ScanFixture, EverySuccessfulScanAppendsToTheMenuCaption) {
    controllerOn(4, 2, 10);
    ASSERT_EQ(scan(), ScanOutcome::Connected);
    ASSERT_EQ(scan(), ScanOutcome::Connected);
    EXPECT_EQ(hooks.caption, "[F10] autoconnect (COM1-16) <<COM4>> <<COM4>>");
}

TEST(RevisionThresholds, InOnePlace) {
    EXPECT_EQ(revisionHandling(0), RevisionHandling::Accept);
    EXPECT_EQ(revisionHandling(10), RevisionHandling::Accept);
    EXPECT_EQ(revisionHandling(11), RevisionHandling::Confirm);
    EXPECT_EQ(revisionHandling(12), RevisionHandling::Refuse);
    EXPECT_EQ(revisionHandling(255), RevisionHandling::Refuse);
}

}  // namespace
