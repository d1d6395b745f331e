// The menu and the dialogs it leads to: placement of the buttons, what each button does, the
// screen events sent on closing, the full-screen checkbox, the rules pages, and the quit and
// save questions.
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "diagnostics/AllocationTracker.h"
#include "files/TempDir.h"
#include "game/BuiltGame.h"
#include "game/dialogs/CreditsDialog.h"
#include "game/dialogs/DialogFixture.h"
#include "game/dialogs/MenuDialog.h"
#include "game/dialogs/OptionsDialog.h"
#include "game/dialogs/QuitDialog.h"
#include "game/dialogs/RulesDialog.h"
#include "game/dialogs/SaveGameDialog.h"
#include "game/dialogs/WorldTourCompletedDialog.h"
#include "game/save/SaveGame.h"
#include "platform/FaultyFileSystem.h"
#include "platform/FileSystem.h"
#include "widgets/Checkbox.h"
#include "widgets/Slider.h"

namespace Kelvane {
namespace {

using testing::DialogTest;
using Zarvo::Rect;

using Events = std::vector<int32_t>;

class MenuDialogsTest : public DialogTest {
protected:
    MenuDialog* openMenu() { return open(KNEW MenuDialog(app, " ", " "), 500, 50, 100, 300); }
};

TEST_F(MenuDialogsTest, MenuButtonsStandOneUnderTheOtherAtTheFirstOnesSize) {
    sizeImage("IMAGE_OPTIONS_BUTTON", 80, 20);
    sizeImage("IMAGE_RULES_BUTTON", 70, 25);
    sizeImage("IMAGE_CREDITS_BUTTON", 60, 30);
    sizeImage("IMAGE_QUIT_BUTTON", 50, 35);
    sizeImage("IMAGE_EXIT_BUTTON", 40, 15);
    MenuDialog* menu = openMenu();
    EXPECT_EQ(menu->id, 203);
    EXPECT_TRUE(menu->IsModal());
    EXPECT_EQ(menu->componentImage, IMAGE_MENU_DIALOG_BACKGROUND);
    EXPECT_EQ(menu->contentInsets.left, 10);
    EXPECT_EQ(menu->contentInsets.top, 15);
    EXPECT_EQ(menu->contentInsets.right, 5);
    EXPECT_EQ(menu->contentInsets.bottom, 25);
    EXPECT_EQ(menu->spaceAfterHeader, 0);
    EXPECT_EQ(menu->dialogFooter, "CLOSE");
    EXPECT_EQ(menu->buttonMode, 0);
    EXPECT_EQ(menu->yesButton, nullptr);
    for (int slot : {0, 1, 3, 4}) EXPECT_EQ(menu->PaletteEntry(slot), Zarvo::Color(0, 0, 0, 255));

    // Each button below the one before it, one own image height lower, at the first one's size.
    struct Case {
        int id;
        Zarvo::MemoryImage* image;
        Rect expected;
    } cases[] = {{MenuDialog::kOptionsButton, IMAGE_OPTIONS_BUTTON, {510, 65, 80, 20}},
                 {MenuDialog::kRulesButton, IMAGE_RULES_BUTTON, {510, 110, 80, 20}},
                 {MenuDialog::kCreditsButton, IMAGE_CREDITS_BUTTON, {510, 160, 80, 20}},
                 {MenuDialog::kQuitButton, IMAGE_QUIT_BUTTON, {510, 215, 80, 20}},
                 {MenuDialog::kExitButton, IMAGE_EXIT_BUTTON, {510, 250, 80, 20}}};
    for (const Case& c : cases) {
        Zarvo::DialogButton* b = menu->button(c.id);
        ASSERT_NE(b, nullptr) << c.id;
        EXPECT_EQ(bounds(b), c.expected) << "button " << c.id;
        EXPECT_EQ(b->componentImage, c.image) << "button " << c.id;
        EXPECT_TRUE(app.GetWidgetManager()->HasChild(b)) << "button " << c.id;
    }
    draw(menu);
}

TEST_F(MenuDialogsTest, MenuButtonsOpenTheirDialogInPlaceOfTheMenuWithoutEvents) {
    struct Case {
        int button;
        int dialogId;
        Rect expected;
    } cases[] = {{MenuDialog::kOptionsButton, OptionsDialog::kDialogId, {220, 110, 200, 260}},
                 {MenuDialog::kQuitButton, QuitDialog::kDialogId, {110, 170, 423, 143}},
                 {MenuDialog::kRulesButton, RulesDialog::kDialogId, {50, 50, 540, 380}},
                 {MenuDialog::kCreditsButton, CreditsDialog::kDialogId, {170, 90, 300, 300}}};
    for (const Case& c : cases) {
        MenuDialog* menu = openMenu();
        click(menu->button(c.button));
        EXPECT_EQ(app.FindDialog(MenuDialog::kDialogId), nullptr) << c.button;
        Zarvo::Dialog* opened = app.FindDialog(c.dialogId);
        ASSERT_NE(opened, nullptr) << c.button;
        EXPECT_EQ(bounds(opened), c.expected) << c.button;
        EXPECT_EQ(opened->dialogHeader, "") << c.button;
        EXPECT_EQ(app.GetDialogCount(), 1) << c.button;
        EXPECT_EQ(app.GetWidgetManager()->baseModalWidget, opened) << c.button;
        EXPECT_TRUE(screen->events.empty()) << c.button;
        app.RemoveDialog(c.dialogId);
        app.FlushDeferredDeletes();
    }
}

TEST_F(MenuDialogsTest, MenuThenOptionsThenExitReportsTheClosingOnce) {
    app.windowed = true;
    MenuDialog* menu = openMenu();
    click(menu->button(MenuDialog::kOptionsButton));
    EXPECT_TRUE(screen->events.empty());
    auto* options = dynamic_cast<OptionsDialog*>(app.FindDialog(OptionsDialog::kDialogId));
    ASSERT_NE(options, nullptr);
    click(options->button(OptionsDialog::kExitButton));
    EXPECT_EQ(screen->events, (Events{EVENT_DIALOG_CLOSED, EVENT_DIALOG_RESUMED}));
    EXPECT_EQ(app.GetDialogCount(), 0);
    EXPECT_EQ(app.GetWidgetManager()->baseModalWidget, nullptr);
    EXPECT_TRUE(app.windowed);
}

TEST_F(MenuDialogsTest, MenuExitClosesAndResumes) {
    MenuDialog* menu = openMenu();
    click(menu->button(MenuDialog::kExitButton));
    EXPECT_EQ(screen->events, (Events{EVENT_DIALOG_CLOSED, EVENT_DIALOG_RESUMED}));
    EXPECT_EQ(app.GetDialogCount(), 0);
    // The buttons left the widget manager with the dialog.
    EXPECT_EQ(app.GetWidgetManager()->children.size(), 1u);  // the Board
}

TEST_F(MenuDialogsTest, ExitButtonsCloseWithOrWithoutResuming) {
    struct Case {
        const char* name;
        std::function<GameDialog*()> make;
        Events expected;
    } cases[] = {
        {"credits",
         [&] { return open(KNEW CreditsDialog(app, " ", " "), 170, 90, 300, 300); },
         {EVENT_DIALOG_CLOSED, EVENT_DIALOG_RESUMED}},
        {"tour completed",
         [&] { return open(KNEW WorldTourCompletedDialog(app), 170, 90, 300, 300); },
         {EVENT_DIALOG_CLOSED}},
    };
    sizeImage("IMAGE_EXIT_BUTTON", 30, 12);
    for (const Case& c : cases) {
        screen->events.clear();
        GameDialog* d = c.make();
        EXPECT_EQ(d->contentInsets.left, 15) << c.name;
        Zarvo::DialogButton* exit = d->button(0);
        ASSERT_NE(exit, nullptr) << c.name;
        EXPECT_EQ(bounds(exit), Rect(170 + 300 - 15 - 30, 90 + 300 - 15 - 12, 30, 12)) << c.name;
        draw(d);
        click(exit);
        EXPECT_EQ(screen->events, c.expected) << c.name;
        EXPECT_EQ(app.GetDialogCount(), 0) << c.name;
    }
}

class OptionsDialogTest : public DialogTest {
protected:
    void SetUp() override {
        DialogTest::SetUp();
        sizeImage("IMAGE_OPTIONS_DIALOG_CHECKBOX", 41, 16);
        sizeImage("IMAGE_EXIT_BUTTON", 30, 12);
    }
    OptionsDialog* openOptions() {
        return open(KNEW OptionsDialog(app, "", ""), 220, 110, OptionsDialog::kWidth,
                    OptionsDialog::kHeight);
    }
};

TEST_F(OptionsDialogTest, PlacesTheExitButtonAndTheCheckboxWithItsTwoCels) {
    app.windowed = false;
    OptionsDialog* options = openOptions();
    EXPECT_EQ(options->id, 205);
    EXPECT_EQ(options->spaceAfterHeader, 30);
    for (int slot : {0, 1, 2, 3, 4})
        EXPECT_EQ(options->PaletteEntry(slot), Zarvo::Color(0, 0, 0, 255)) << slot;
    EXPECT_EQ(bounds(options->button(OptionsDialog::kExitButton)), Rect(367, 338, 30, 12));
    Zarvo::Checkbox* box = options->fullScreenCheckbox();
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(bounds(box), Rect(243, 170, 41, 16));
    EXPECT_EQ(box->uncheckedRect, Rect(0, 0, 20, 16));
    EXPECT_EQ(box->checkedRect, Rect(20, 0, 20, 16));
    EXPECT_TRUE(box->IsChecked());  // full screen
    draw(options);
}

TEST_F(OptionsDialogTest, ExitAppliesTheChoiceOfTheCheckbox) {
    app.windowed = true;
    OptionsDialog* options = openOptions();
    EXPECT_FALSE(options->fullScreenCheckbox()->IsChecked());
    click(options->fullScreenCheckbox());
    EXPECT_TRUE(options->fullScreenCheckbox()->IsChecked());
    EXPECT_EQ(app.FindDialog(OptionsDialog::kNoticeDialogId), nullptr);
    click(options->button(OptionsDialog::kExitButton));
    EXPECT_FALSE(app.windowed);
    EXPECT_EQ(screen->events, (Events{EVENT_DIALOG_CLOSED, EVENT_DIALOG_RESUMED}));
}

TEST_F(OptionsDialogTest, TheVolumeSlidersShowTheSettingsAndApplyAtOnce) {
    app.SetMusicVolume(0.25);
    app.SetSfxVolume(1.0);
    OptionsDialog* options = openOptions();
    Zarvo::Slider* music = options->musicSlider();
    Zarvo::Slider* sound = options->soundSlider();
    // Under the checkbox, as wide as the insets allow, music above sound.
    EXPECT_EQ(bounds(music), Rect(243, 228, 154, 24));
    EXPECT_EQ(bounds(sound), Rect(243, 274, 154, 24));
    EXPECT_DOUBLE_EQ(music->GetValue(), 0.25);
    EXPECT_DOUBLE_EQ(sound->GetValue(), 1.0);

    // A press at the left end of the music track silences the music; the sound slider follows
    // the mouse to its middle.
    Zarvo::WidgetManager* manager = app.GetWidgetManager();
    manager->PointerMoved(music->x + 1, music->y + 12);
    manager->PointerPressed(music->x + 1, music->y + 12, 1);
    manager->PointerReleased(music->x + 1, music->y + 12, 1);
    EXPECT_DOUBLE_EQ(app.GetMusicVolume(), 0.0);
    sound->SetValue(0.5);
    EXPECT_DOUBLE_EQ(app.GetSfxVolume(), 0.5);
    EXPECT_TRUE(screen->events.empty());
    draw(options);
}

TEST_F(OptionsDialogTest, UncheckingForcedFullScreenShowsTheNoticeAndChecksAgain) {
    app.windowed = false;
    app.forceFullScreen = true;
    OptionsDialog* options = openOptions();
    Zarvo::Checkbox* box = options->fullScreenCheckbox();
    click(box);
    EXPECT_TRUE(box->IsChecked());
    Zarvo::Dialog* notice = app.FindDialog(6);
    ASSERT_NE(notice, nullptr);
    EXPECT_TRUE(notice->IsModal());
    EXPECT_EQ(notice->dialogHeader, "No Windowed Mode");
    EXPECT_EQ(notice->dialogLines,
              "Windowed mode is only available if your desktop is running in\n\t\t\teither 16 bit "
              "or 32 bit color mode, which it is not.");
    EXPECT_EQ(notice->dialogFooter, "OK");
    EXPECT_EQ(notice->buttonMode, Zarvo::Dialog::BUTTONS_FOOTER);
    ASSERT_NE(notice->yesButton, nullptr);
    EXPECT_EQ(notice->yesButton->label, "OK");
    EXPECT_TRUE(screen->events.empty());

    // Its OK button closes the notice; the options stay.
    click(notice->yesButton.get());
    EXPECT_EQ(app.FindDialog(6), nullptr);
    EXPECT_EQ(app.FindDialog(OptionsDialog::kDialogId), options);
    EXPECT_EQ(app.GetWidgetManager()->baseModalWidget, options);

    click(options->button(OptionsDialog::kExitButton));
    EXPECT_FALSE(app.windowed);
    EXPECT_EQ(screen->events, (Events{EVENT_DIALOG_CLOSED, EVENT_DIALOG_RESUMED}));
}

TEST_F(OptionsDialogTest, TheApplicationShowsAModeChangedElsewhereInTheCheckbox) {
    app.windowed = true;
    OptionsDialog* options = openOptions();
    app.ApplyScreenModeChoice(false, false);
    EXPECT_TRUE(options->fullScreenCheckbox()->IsChecked());
}

class RulesDialogTest : public DialogTest {
protected:
    RulesDialog* openRules() { return open(KNEW RulesDialog(app, "", ""), 50, 50, 540, 380); }
};

TEST_F(RulesDialogTest, PlacesBackNextAndExitUnderNext) {
    sizeImage("IMAGE_BACK_BUTTON", 32, 14);
    sizeImage("IMAGE_NEXT_BUTTON", 30, 12);
    sizeImage("IMAGE_EXIT_BUTTON", 44, 22);
    RulesDialog* rules = openRules();
    EXPECT_EQ(rules->contentInsets.top, 300);
    EXPECT_EQ(rules->dialogFooter, "CLOSE");
    EXPECT_EQ(bounds(rules->button(RulesDialog::kBackButton)), Rect(73, 350, 32, 14));
    EXPECT_EQ(bounds(rules->button(RulesDialog::kNextButton)), Rect(473, 350, 30, 12));
    EXPECT_EQ(bounds(rules->button(RulesDialog::kExitButton)), Rect(473, 362, 30, 12));
}

TEST_F(RulesDialogTest, PagesRunFromOneToSevenWithTheEndButtonsHidden) {
    paintImage("IMAGE_PAGE_THREE_OF_RULES", Zarvo::Color(255, 0, 0));
    RulesDialog* rules = openRules();
    Zarvo::DialogButton* back = rules->button(RulesDialog::kBackButton);
    Zarvo::DialogButton* next = rules->button(RulesDialog::kNextButton);
    EXPECT_EQ(rules->currentPage(), 1);
    EXPECT_FALSE(back->visible);
    EXPECT_TRUE(next->visible);
    draw(rules);
    for (int press = 1; press <= 6; ++press) {
        click(next);
        EXPECT_EQ(rules->currentPage(), 1 + press);
        EXPECT_TRUE(back->visible);
        EXPECT_EQ(next->visible, press < 6) << "after " << press << " presses";
        // The page picture stands at (20, 40) in the dialog.
        const bool red = samePixel(draw(rules, 50 + 20, 50 + 40), 0xFFFF0000u);
        EXPECT_EQ(red, rules->currentPage() == 3) << "page " << rules->currentPage();
    }
    // Back to the first page.
    for (int page = 6; page >= 1; --page) {
        click(back);
        EXPECT_EQ(rules->currentPage(), page);
        EXPECT_TRUE(next->visible);
        EXPECT_EQ(back->visible, page > 1);
    }
    EXPECT_TRUE(screen->events.empty());
    click(rules->button(RulesDialog::kExitButton));
    EXPECT_EQ(screen->events, (Events{EVENT_DIALOG_CLOSED, EVENT_DIALOG_RESUMED}));
}

class QuitDialogTest : public DialogTest {
protected:
    void SetUp() override {
        DialogTest::SetUp();
        app.appDataFolder = folder.Path().string() + "/";
    }
    QuitDialog* openQuit() { return open(KNEW QuitDialog(app, "", ""), 110, 170, 423, 143); }
    bool saveOnDisk() { return std::filesystem::exists(app.saveGame().path()); }

    TempDir folder;
};

TEST_F(QuitDialogTest, YesAndNoStandInTheBottomCorners) {
    sizeImage("IMAGE_YES_BUTTON", 40, 20);
    sizeImage("IMAGE_NO_BUTTON", 36, 18);
    QuitDialog* quit = openQuit();
    EXPECT_EQ(bounds(quit->button(QuitDialog::kYesButton)), Rect(115, 288, 40, 20));
    EXPECT_EQ(bounds(quit->button(QuitDialog::kNoButton)), Rect(492, 290, 36, 18));
    auto* save = open(KNEW SaveGameDialog(app, true), 110, 170, 423, 143);
    EXPECT_EQ(bounds(save->button(SaveGameDialog::kYesButton)), Rect(115, 288, 40, 20));
    EXPECT_EQ(bounds(save->button(SaveGameDialog::kNoButton)), Rect(492, 290, 36, 18));
    draw(quit);
    draw(save);
}

struct QuitCase {
    const char* name;
    int32_t screenId;
    GameMode mode;
};

class QuitYesTest : public QuitDialogTest, public ::testing::WithParamInterface<QuitCase> {};

TEST_P(QuitYesTest, QuitsAtOnceWhereThereIsNoTourToSave) {
    const QuitCase& c = GetParam();
    onScreen(c.screenId);
    GamePlay& play = PlayState::instance().gamePlay;
    if (c.mode == GameMode::Friendly)
        play.startFriendly([] { return 5u; });
    else
        play.startWorldTour();
    QuitDialog* quit = openQuit();
    click(quit->button(QuitDialog::kYesButton));
    EXPECT_TRUE(app.IsShutDown());
    EXPECT_EQ(app.GetDialogCount(), 0);
    EXPECT_TRUE(screen->events.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Dialogs, QuitYesTest,
    ::testing::Values(QuitCase{"StartScreenDuringATour", SCREEN_START, GameMode::WorldTour},
                      QuitCase{"FriendlyMatch", SCREEN_MAIN, GameMode::Friendly}),
    [](const ::testing::TestParamInfo<QuitCase>& info) { return std::string(info.param.name); });

TEST_F(QuitDialogTest, YesOnTheTourMapAsksToSaveAndItsNoDeletesTheSaveAndQuits) {
    onScreen(SCREEN_WORLD_TOUR);
    GamePlay& play = PlayState::instance().gamePlay;
    play.startWorldTour();
    PlayState::instance().profile.setTeam(play.findNation(1));
    ASSERT_TRUE(app.saveGame().writeSave(play, PlayState::instance().profile));
    ASSERT_TRUE(saveOnDisk());

    QuitDialog* quit = openQuit();
    click(quit->button(QuitDialog::kYesButton));
    EXPECT_FALSE(app.IsShutDown());
    EXPECT_TRUE(screen->events.empty());
    EXPECT_EQ(app.FindDialog(QuitDialog::kDialogId), nullptr);
    auto* save = dynamic_cast<SaveGameDialog*>(app.FindDialog(SaveGameDialog::kDialogId));
    ASSERT_NE(save, nullptr);
    EXPECT_TRUE(save->saveMode);
    EXPECT_EQ(save->componentImage, IMAGE_SAVE_GAME_DIALOG_BACKGROUND);
    EXPECT_EQ(bounds(save), Rect(110, 170, 423, 143));
    EXPECT_EQ(app.GetWidgetManager()->baseModalWidget, save);

    click(save->button(SaveGameDialog::kNoButton));
    EXPECT_EQ(screen->events, (Events{EVENT_DIALOG_CLOSED, EVENT_DIALOG_RESUMED}));
    EXPECT_FALSE(saveOnDisk());
    EXPECT_TRUE(app.IsShutDown());
}

TEST_F(QuitDialogTest, SaveYesWritesTheTourAndQuits) {
    GamePlay& play = PlayState::instance().gamePlay;
    play.startWorldTour();
    PlayState::instance().profile.setTeam(play.findNation(4));
    auto* save = open(KNEW SaveGameDialog(app, true), 110, 170, 423, 143);
    click(save->button(SaveGameDialog::kYesButton));
    EXPECT_EQ(screen->events, (Events{EVENT_DIALOG_CLOSED, EVENT_DIALOG_RESUMED}));
    EXPECT_TRUE(saveOnDisk());
    EXPECT_TRUE(app.IsShutDown());
}

TEST_F(QuitDialogTest, ASaveThatCannotBeWrittenIsToldAndTheGameGoesOnWithTheOldSave) {
    GamePlay& play = PlayState::instance().gamePlay;
    play.startWorldTour();
    Profile& profile = PlayState::instance().profile;
    profile.setTeam(play.findNation(4));
    ASSERT_TRUE(app.saveGame().writeSave(play, profile));
    const std::string before = testing::readFile(app.saveGame().path());
    profile.totalPoints += 100;

    ZarvoTest::FaultyFileSystem full(ZarvoTest::Fault::NoSpace);
    Zarvo::ScopedFileSystem installed(full);
    auto* save = open(KNEW SaveGameDialog(app, true), 110, 170, 423, 143);
    click(save->button(SaveGameDialog::kYesButton));
    EXPECT_EQ(screen->events, (Events{EVENT_DIALOG_CLOSED, EVENT_DIALOG_RESUMED}));
    EXPECT_FALSE(app.IsShutDown());
    EXPECT_EQ(app.GetDialogCount(), 0);
    EXPECT_EQ(app.hp.messageBoxes,
              std::vector<std::string>{std::string("FATAL ERROR: ") + SaveGame::kUnwritableText +
                                       ": " + std::strerror(ENOSPC)});
    EXPECT_EQ(testing::readFile(app.saveGame().path()), before);

    // Asked again, the player may leave without saving.
    save = open(KNEW SaveGameDialog(app, true), 110, 170, 423, 143);
    click(save->button(SaveGameDialog::kNoButton));
    EXPECT_TRUE(app.IsShutDown());
}

TEST_F(QuitDialogTest, SaveYesWithNoTeamChosenQuitsWithoutSaving) {
    PlayState::instance().gamePlay.startWorldTour();
    auto* save = open(KNEW SaveGameDialog(app, true), 110, 170, 423, 143);
    click(save->button(SaveGameDialog::kYesButton));
    EXPECT_TRUE(app.IsShutDown());
    EXPECT_FALSE(saveOnDisk());
    EXPECT_TRUE(app.hp.messageBoxes.empty());
}

TEST_F(QuitDialogTest, QuitNoClosesAndResumes) {
    QuitDialog* quit = openQuit();
    click(quit->button(QuitDialog::kNoButton));
    EXPECT_EQ(screen->events, (Events{EVENT_DIALOG_CLOSED, EVENT_DIALOG_RESUMED}));
    EXPECT_FALSE(app.IsShutDown());
    EXPECT_EQ(app.GetDialogCount(), 0);
}

TEST_F(QuitDialogTest, LoadQuestionAnswersWithResumeOrNewTour) {
    struct Case {
        int button;
        int32_t answer;
    } cases[] = {{SaveGameDialog::kYesButton, EVENT_LOAD_YES},
                 {SaveGameDialog::kNoButton, EVENT_LOAD_NO}};
    for (const Case& c : cases) {
        screen->events.clear();
        auto* load = open(KNEW SaveGameDialog(app, false), 110, 170, 423, 143);
        EXPECT_EQ(load->componentImage, IMAGE_LOAD_GAME_DIALOG_BACKGROUND);
        click(load->button(c.button));
        EXPECT_EQ(screen->events, (Events{EVENT_DIALOG_CLOSED, EVENT_DIALOG_RESUMED, c.answer}));
        EXPECT_FALSE(app.IsShutDown());
        EXPECT_EQ(app.GetDialogCount(), 0);
    }
}

}  // namespace
}  // namespace Kelvane
