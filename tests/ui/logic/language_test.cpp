// The window's language: every text target exists under its name, the built-in captions are
// the English file, a file's texts and selection rules land without sending anything, and the
// language menu remembers the choice.
#include <QComboBox>
#include <QFontDatabase>
#include <QMenu>
#include <QTabWidget>

#include <fstream>

#include "files/language_file.h"
#include "files/languages.h"
#include "files/text_ids.h"
#include "ui/accessibility/accessible_names.h"
#include "ui/commands/language.h"
#include "ui/commands/language_targets.h"
#include "window_logic_fixture.h"

namespace kaldor::test {
namespace {

void writeBytes(const QString& path, const std::string& bytes) {
    std::ofstream out(path.toStdString(), std::ios::binary | std::ios::trunc);
    out << bytes;
}

std::string readBytes(const QString& path) {
    std::ifstream in(path.toStdString(), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The text a target shows now, error and status texts included.
QString shownText(MainWindow& window, ControllerSession& session, const TextTarget& target) {
    if (target.kind == TextKind::ErrorText)
        return QString::fromStdString(session.errorTexts.text(target.index));
    if (target.kind == TextKind::StatusText)
        return QString::fromStdString(session.texts.*kStatusTextOrder[target.index]);
    QObject* object = findTextTarget(window, target.control);
    return object ? targetText(*object, target).value_or(QStringLiteral("<no text>"))
                  : QStringLiteral("<missing>");
}

struct LanguageTest : LogicTest {
    QString path(const char* name) const { return folder + QLatin1Char('/') + name; }
    WindowLanguage& language() { return logic->language(); }
    QString caption(const TextId id) {
        return shownText(*window, logic->session(), *findTextId(id));
    }
};

TEST_F(LanguageTest, EveryTargetAndFontControlExistsUnderItsName) {
    for (const TextTarget& target : textIdTable()) {
        if (target.kind == TextKind::ErrorText || target.kind == TextKind::StatusText)
            continue;
        QObject* object = findTextTarget(*window, target.control);
        ASSERT_NE(object, nullptr) << target.id << " " << target.control;
        EXPECT_TRUE(targetText(*object, target).has_value())
            << target.id << " " << target.control << " holds no text of its kind";
    }
    for (const std::string_view name : fontFollowingControls())
        EXPECT_TRUE(qobject_cast<QWidget*>(findTextTarget(*window, name))) << name;
}

struct BuiltInTextTest : LanguageTest {
    void SetUp() override {
        // Code 0 selects no language: the window keeps the texts it was built with.
        writeBytes(path("lan.txt"), std::string(1, '\0'));
        LanguageTest::SetUp();
    }
};

TEST_F(BuiltInTextTest, BuiltInTextsAreTheEnglishFile) {
    const LanguageFile english = readLanguageFile(KALDOR_LANG_DIR "/ang.txt", 1252);
    ASSERT_FALSE(english.error);
    ASSERT_EQ(english.entries.size(),
              std::size_t{kTextIdCount + kReportTextIdCount + kWindowTextIdCount +
                          kCellTextIdCount + kSpokenTextIdCount});
    for (const LanguageEntry& entry : english.entries) {
        // The report's texts are no control's: the report and its dialog take them.
        if (findTextId(entry.id)->kind == TextKind::ReportText)
            continue;
        // The window's own are its built-in English.
        if (const TextTarget* t = findTextId(entry.id); t->kind == TextKind::WindowText) {
            EXPECT_EQ(windowTextEnglish(static_cast<WindowText>(t->index)), entry.text) << entry.id;
            continue;
        }
        // What a screen reader says beyond the captions is built in as well.
        if (const TextTarget* t = findTextId(entry.id); t->kind == TextKind::SpokenText) {
            EXPECT_EQ(spokenText(SpokenText(t->index)).toStdString(), entry.text) << entry.id;
            continue;
        }
        EXPECT_EQ(caption(entry.id).toStdString(), entry.text)
            << entry.id << " " << findTextId(entry.id)->control;
    }
}

TEST_F(LanguageTest, FileTextsLandAndListsReselectWithoutSending) {
    // The controller has the EGT sensor on (byte 543 bit 4) and map type 3 (word 364).
    controller.memory[543] = 0x10;
    controller.setWord(364, 2);
    connect();
    auto* egt = find<QComboBox>("ComboBoxEGT");
    auto* mapType = find<QComboBox>("ComboBoxMapa");
    ASSERT_EQ(egt->currentIndex(), 1);
    egt->setCurrentIndex(0);
    mapType->setCurrentIndex(0);
    writeBytes(path("lang/ang.txt"),
               "# test\r\n100002 Settings\r\n100432\tAN\r\n999999 none\n"
               "100514 4:MAF\n100105 COM\n100601 Memory\n100701 nothing\n"
               "100811 no port\n100215 STATE");
    language().load(1);
    EXPECT_EQ(window->pageControl()->tabText(MainWindow::kPageParameters), "Settings");
    EXPECT_EQ(egt->itemText(1), "AN");
    EXPECT_EQ(egt->currentIndex(), 1);
    EXPECT_EQ(mapType->currentIndex(), 2);
    EXPECT_EQ(window->menu().port1->title(), "COM");
    EXPECT_EQ(caption(100601), "Memory");
    EXPECT_EQ(caption(100215), "STATE");  // the last line, without a line end
    EXPECT_EQ(logic->session().errorTexts.text(0), "nothing");
    EXPECT_EQ(logic->session().texts.errorCom, "no port");
    EXPECT_TRUE(log.writes().empty());
    EXPECT_TRUE(messages.empty());
}

TEST_F(LanguageTest, MalformedIdKeepsTheTextsBeforeItAndAMissingFileSaysError) {
    writeBytes(path("lang/ang.txt"), "100001 Live\n10x002 Bad\n100003 Maps\n");
    language().load(1);
    EXPECT_EQ(caption(100001), "Live");
    EXPECT_EQ(caption(100003), "[F4]adjustment");
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0], "'10x002' is not a valid integer value");

    QFile::remove(path("lang/ang.txt"));
    language().load(1);
    EXPECT_EQ(messages.back(), "ERROR");
    EXPECT_EQ(caption(100001), "Live");
}

TEST_F(LanguageTest, MenuListsThirteenLanguagesWithFlagsInOrder) {
    const QList<QAction*> items = window->menu().language1->actions();
    ASSERT_EQ(items.size(), kLanguageMenuCount);
    const char* names[] = {"English1",  "Polish1", "Russian1", "Thai1",  "Lithuania1",
                           "German1",   "Spain1",  "Hungary1", "Czech1", "Grece1",
                           "Portugal1", "Dutch1",  "Italian1"};
    const char* captions[] = {"English",    "Polish", "Russian", "Thai",  "Lithuanian",
                              "German",     "Spain",  "Hungary", "Czech", "Greece",
                              "Portuguese", "Dutch",  "Italiano"};
    for (int i = 0; i < kLanguageMenuCount; ++i) {
        EXPECT_EQ(items[i]->objectName(), names[i]);
        EXPECT_EQ(items[i]->text(), captions[i]);
        EXPECT_FALSE(items[i]->icon().isNull()) << names[i];
    }
}

TEST_F(LanguageTest, ChoiceIsRememberedOnlyInAnExistingChoiceFile) {
    installLanguageFile(QStringLiteral("rus.txt"));
    installLanguageFile(QStringLiteral("ger.txt"));
    find<QAction>("Russian1")->trigger();
    EXPECT_FALSE(QFile::exists(path("lan.txt")));
    EXPECT_EQ(window->menu().File1->title(), QString::fromUtf8("файл"));

    writeBytes(path("lan.txt"), "\x01rest");
    find<QAction>("German1")->trigger();
    EXPECT_EQ(readBytes(path("lan.txt")), "\x06rest");
    EXPECT_FALSE(language().calibri());
    EXPECT_TRUE(messages.empty());
}

TEST_F(LanguageTest, ThaiRegistersTheFontFilesAndTakesAFontForItsScript) {
    installLanguageFile(QStringLiteral("thai.txt"));
    installLanguageFile(QStringLiteral("ger.txt"));
    // Any TrueType file stands in for the font the program does not ship.
    const QStringList fonts = QDir(QStringLiteral("/usr/share/fonts/truetype/dejavu"))
                                  .entryList({QStringLiteral("DejaVuSans.ttf")});
    if (!fonts.isEmpty()) {
        QDir(folder).mkpath(QStringLiteral("font"));
        ASSERT_TRUE(QFile::copy(QStringLiteral("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf"),
                                path("font/CALIBRI.TTF")));
    }
    find<QAction>("Thai1")->trigger();
    EXPECT_TRUE(language().calibri());
    EXPECT_EQ(language().registeredFontFiles(), fonts.isEmpty() ? 0 : 1);
    const QString thaiFamily = find<QLabel>("LabelPasDif")->font().family();
    EXPECT_EQ(window->font().family(), thaiFamily);
    if (!QFontDatabase::families(QFontDatabase::Thai).isEmpty()) {
        EXPECT_TRUE(QFontDatabase::writingSystems(thaiFamily).contains(QFontDatabase::Thai));
    }

    find<QAction>("German1")->trigger();
    EXPECT_FALSE(language().calibri());
    EXPECT_EQ(find<QLabel>("LabelPasDif")->font().family(),
              WindowLanguage::fontFamily(*findLanguage(6)));
    EXPECT_EQ(find<QLabel>("LabelPasDif")->font().pointSizeF(), window->font().pointSizeF());
}

}  // namespace
}  // namespace kaldor::test
