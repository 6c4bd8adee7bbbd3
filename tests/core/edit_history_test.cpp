#include <gtest/gtest.h>

#include "link/image_transfer.h"
#include "maps/cruise_editor.h"
#include "maps/main_map_editor.h"
#include "model/edit_history.h"
#include "model/fields.h"
#include "support/scripted_controller.h"

using namespace kaldor;
using namespace kaldor::test;

namespace {

// The editors write through the image transfer to a scripted controller, so what an undo sends
// is checked as the controller's memory and as frames.
struct HistoryFixture : ::testing::Test, ScriptedLink {
    EcuImage image;
    RecordingPrompts prompts;
    ImageTransfer transfer{commands, state, image, prompts};
    PlainProgress progress;
    ScriptedController controller;
    EditHistory history;
    MainMapEditor mainMap{image, transfer, progress};
    CruiseMapModel cruise{image, transfer, '.'};

    void SetUp() override {
        ASSERT_TRUE(link.open(1));
        state.connected = true;
        for (std::size_t i = 0; i < EcuImage::kSize; ++i) {
            const auto b = static_cast<std::uint8_t>((i * 13) % 200);
            controller.memory[i] = b;
            image.setByte(i, b);
        }
        controller.attachTo(port);
        transfer.setEditHistory(&history);
        mainMap.ShowMainMap();
        cruise.refresh();
        log.events.clear();
    }
    [[nodiscard]] std::vector<std::uint8_t> memory() const {
        return {controller.memory.begin(), controller.memory.begin() + EcuImage::kSize};
    }
    // One user action as the edit gate runs it.
    void act(const std::string& what, const std::function<void()>& action) {
        history.begin(image, what);
        action();
        history.end(image);
    }
};

TEST_F(HistoryFixture, UndoAndRedoOfEachEditKindRestoreImageAndControllerWithTheEditsFrames) {
    struct Case {
        const char* name;
        std::function<void()> action;
    };
    const Case cases[] = {
        {"step",
         [&] {
             (void)mainMap.stepSelection({2, 3, 4, 6}, 5);
         }},
        {"typed",
         [&] {
             (void)mainMap.typedEntry({1, 1, 2, 2}, EntryMode::Abs, "77");
         }},
        {"smooth", [&] { mainMap.smooth(); }},
        {"preset", [&] { (void)mainMap.mapResetChosen(2); }},
        {"cruise",
         [&] {
             (void)cruise.stepSelection({0, 1, 3, 1}, -10);
         }},
        {"word",
         [&] {
             storeField(image, FieldId::MinSystemPressure, 1500);
             transfer.sendField(FieldId::MinSystemPressure);
         }},
        {"cells",
         [&] {
             (void)mainMap.writeCells({{3, 3, 9}, {8, 16, 250}});
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const EcuImage imageBefore = image;
        const auto memoryBefore = memory();
        log.events.clear();
        act(c.name, c.action);
        const auto editFrames = log.writes();
        const EcuImage imageAfter = image;
        const auto memoryAfter = memory();
        ASSERT_NE(imageAfter, imageBefore);
        ASSERT_TRUE(history.canUndo());

        log.events.clear();
        ASSERT_TRUE(history.undo(image, transfer));
        const auto undoFrames = log.writes();
        EXPECT_EQ(image, imageBefore);
        EXPECT_EQ(memory(), memoryBefore);
        ASSERT_EQ(undoFrames.size(), editFrames.size());
        // The same writes, with the old bytes: each frame has the command and address of the
        // edit's frame in its place.
        for (std::size_t i = 0; i < undoFrames.size(); ++i)
            EXPECT_EQ(undoFrames[i].substr(0, 5), editFrames[i].substr(0, 5)) << i;

        log.events.clear();
        ASSERT_TRUE(history.redo(image, transfer));
        EXPECT_EQ(log.writes(), editFrames);
        EXPECT_EQ(image, imageAfter);
        EXPECT_EQ(memory(), memoryAfter);
    }
}

TEST_F(HistoryFixture, UndoKeepsThePausesOfTheEdit) {
    act("cruise", [&] { (void)cruise.stepSelection({0, 1, 1, 1}, 3); });
    const auto pauses = [&] {
        std::vector<std::string> out;
        for (const std::string& e : log.events)
            if (e.rfind("pause 5", 0) == 0)
                out.push_back(e);
        return out;
    };
    const std::size_t editPauses = pauses().size();
    ASSERT_EQ(editPauses, 2u);
    log.events.clear();
    ASSERT_TRUE(history.undo(image, transfer));
    EXPECT_EQ(pauses().size(), editPauses);
}

TEST_F(HistoryFixture, StepsAreNamedAndKeptInOrderWithRedoDroppedByANewEdit) {
    EXPECT_EQ(history.undoText(), "undo");
    act("+5", [&] {
        history.setCells(40);
        (void)mainMap.stepSelection({1, 1, 8, 5}, 5);
    });
    EXPECT_EQ(history.undoText(), "undo: +5 on MainMap, 40 cells");
    act("", [&] {
        storeField(image, FieldId::OnDelay, 7);
        storeField(image, FieldId::MinSystemPressure, 900);
    });
    EXPECT_EQ(history.undoText(), "undo: OnDelay and MinSystemPressure");
    // An action that changes nothing is not a step.
    act("+0", [&] { (void)mainMap.stepSelection({1, 1, 1, 1}, 0); });
    EXPECT_EQ(history.undoDepth(), 2u);

    ASSERT_TRUE(history.undo(image, transfer));
    EXPECT_EQ(history.redoText(), "redo: OnDelay and MinSystemPressure");
    act("-1", [&] { (void)mainMap.stepSelection({2, 2, 2, 2}, -1); });
    EXPECT_FALSE(history.canRedo());
}

TEST_F(HistoryFixture, KeepsTheLatestStepsClearsAndLeavesOutWhatIsMarked) {
    for (std::size_t i = 0; i < EditHistory::kDepth + 5; ++i)
        act("+1", [&] { (void)mainMap.stepSelection({1, 1, 1, 1}, i % 2 == 0 ? 1 : -1); });
    EXPECT_EQ(history.undoDepth(), EditHistory::kDepth);
    EXPECT_GE(EditHistory::kDepth, 100u);

    // A clear in the middle of an action (a load run from a handler) drops that action too.
    act("load", [&] {
        (void)mainMap.stepSelection({1, 1, 1, 1}, 3);
        history.clear();
    });
    EXPECT_FALSE(history.canUndo());
    act("pin", [&] {
        storeField(image, FieldId::ControllerPin, 0x1234);
        history.leaveOut();
    });
    EXPECT_FALSE(history.canUndo());
    // Writes outside an action (the live polling, a full load) are never noted.
    log.events.clear();
    transfer.writeWord(3);
    act("+1", [&] { (void)mainMap.stepSelection({1, 1, 1, 1}, 1); });
    log.events.clear();
    ASSERT_TRUE(history.undo(image, transfer));
    EXPECT_EQ(log.writes().size(), 1u);
}

}  // namespace
