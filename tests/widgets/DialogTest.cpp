#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "graphics/SysFont.h"
#include "widgets/AppDialogTable.h"
#include "widgets/ButtonListener.h"
#include "widgets/ButtonWidget.h"
#include "widgets/Dialog.h"
#include "widgets/DialogTable.h"
#include "widgets/WidgetManager.h"

namespace Zarvo {
namespace {

// The application side: its button operations and a main loop whose steps a test scripts.
class TestTable : public DialogTable, public ButtonListener {
public:
    explicit TestTable(WidgetManager* m) : DialogTable(m, 640, 480) { buttonListener = this; }

    std::vector<std::string> events;
    std::function<bool()> step;
    int modalOpens = 0;
    int modalCloses = 0;

    void ButtonPress(int id) override { events.push_back("press " + std::to_string(id)); }
    void ButtonDepress(int id) override { events.push_back("depress " + std::to_string(id)); }
    void ModalOpen() override { ++modalOpens; }
    void ModalClose() override { ++modalCloses; }
    bool LoopStep() override { return step ? step() : false; }
};

class DialogTest : public ::testing::Test {
protected:
    DialogTest() {
        manager.width = 640;
        manager.height = 480;
    }
    void Click(const Widget& w) {
        const int cx = w.x + w.width / 2;
        const int cy = w.y + w.height / 2;
        manager.PointerMoved(cx, cy);
        manager.PointerPressed(cx, cy, 1);
        manager.PointerReleased(cx, cy, 1);
    }

    WidgetManager manager{nullptr};
    TestTable table{&manager};
};

TEST_F(DialogTest, ZeroWidthDialogIsCentredAtAFifthOfTheHeight) {
    Dialog* d = table.ShowDialog(5, true, "Header", "Some lines", "", Dialog::BUTTONS_YES_NO);
    EXPECT_EQ(d->width, 320);
    EXPECT_EQ(d->x, 160);
    EXPECT_EQ(d->y, 96);
    EXPECT_EQ(d->height, d->PreferredHeight(320));
    EXPECT_EQ(table.modalOpens, 1);
    EXPECT_EQ(manager.baseModalWidget, d);

    // Two buttons side by side over the bottom content inset:
    // (320 - 24 - 24 - 8) / 2 = 132 wide, from x 160 + 24.
    const int buttonY = 96 + d->height - 24 - 24;
    EXPECT_EQ(d->yesButton->Bounds(), Rect(184, buttonY, 132, 24));
    EXPECT_EQ(d->noButton->Bounds(), Rect(184 + 132 + 8, buttonY, 132, 24));
    EXPECT_TRUE(manager.HasChild(d->yesButton.get()));
    EXPECT_TRUE(manager.ComesBefore(d, d->yesButton.get()));
}

TEST_F(DialogTest, OneButtonSpansTheContentWidth) {
    Dialog* d = new Dialog(nullptr, nullptr, 9, false, "", "", "Continue", Dialog::BUTTONS_FOOTER);
    d->SetBounds(100, 50, 300, 200);
    table.AddDialog(d);
    EXPECT_EQ(d->yesButton->label, "Continue");
    EXPECT_EQ(d->noButton, nullptr);
    EXPECT_EQ(d->yesButton->Bounds(), Rect(124, 50 + 200 - 24 - 24, 300 - 48, 24));
    EXPECT_EQ(table.modalOpens, 0);
}

TEST_F(DialogTest, ButtonsReachTheApplicationWithDialogIds) {
    Dialog* d = table.ShowDialog(5, true, "Quit?", "", "", Dialog::BUTTONS_YES_NO);
    Click(*d->yesButton);
    EXPECT_EQ(d->result, 1000);
    Click(*d->noButton);
    EXPECT_EQ(d->result, 1001);
    EXPECT_EQ(table.events, (std::vector<std::string>{"press 2005", "depress 2005", "press 3005",
                                                      "depress 3005"}));
}

TEST_F(DialogTest, ModalDialogBlocksWidgetsBelowButNotItsButtons) {
    ButtonWidget below(77, &table);
    below.SetBounds(0, 0, 640, 480);
    manager.AddChild(&below);
    Dialog* d = table.ShowDialog(2, true, "Modal", "", "", Dialog::BUTTONS_OK_CANCEL);
    Click(below);  // the centre lies on the dialog; try a corner as well
    manager.PointerMoved(5, 5);
    manager.PointerPressed(5, 5, 1);
    manager.PointerReleased(5, 5, 1);
    EXPECT_TRUE(table.events.empty());
    Click(*d->noButton);
    EXPECT_EQ(table.events, (std::vector<std::string>{"press 3002", "depress 3002"}));

    table.RemoveDialog(2);
    EXPECT_EQ(table.modalCloses, 1);
    EXPECT_EQ(manager.baseModalWidget, nullptr);
    manager.PointerMoved(5, 5);
    manager.PointerPressed(5, 5, 1);
    manager.PointerReleased(5, 5, 1);
    EXPECT_EQ(table.events.back(), "depress 77");
    manager.RemoveChild(&below);
}

TEST_F(DialogTest, ShowingAnOpenIdReplacesTheDialog) {
    Dialog* first = table.ShowDialog(4, false, "One", "", "", Dialog::BUTTONS_NONE);
    Dialog* second = table.ShowDialog(4, false, "Two", "", "", Dialog::BUTTONS_NONE);
    EXPECT_NE(first, second);
    EXPECT_EQ(table.FindDialog(4), second);
    EXPECT_EQ(table.GetDialogCount(), 1);
    EXPECT_FALSE(manager.HasChild(first));
    EXPECT_FALSE(table.RemoveDialog(99));
}

TEST_F(DialogTest, WaitForResultAnswersTheClickedButton) {
    Dialog* d = table.ShowDialog(3, true, "Sure?", "", "", Dialog::BUTTONS_YES_NO);
    int steps = 0;
    table.step = [&] {
        if (++steps == 2) Click(*d->noButton);
        return true;
    };
    EXPECT_EQ(d->WaitForResult(true), 1001);
    EXPECT_EQ(table.FindDialog(3), nullptr);
    EXPECT_EQ(steps, 2);
}

TEST_F(DialogTest, WaitForResultWithoutAnswerWhenRemovedElsewhere) {
    Dialog* d = table.ShowDialog(3, true, "Sure?", "", "", Dialog::BUTTONS_YES_NO);
    table.step = [&] {
        table.RemoveDialog(3, true, false);
        return true;
    };
    EXPECT_EQ(d->WaitForResult(false), Dialog::kNoResult);
    delete d;
}

TEST_F(DialogTest, DraggingStopsEightPixelsBeyondTheEdges) {
    Dialog* d = table.ShowDialog(1, false, "Drag me", "", "", Dialog::BUTTONS_NONE);
    const int startY = d->y;
    manager.PointerMoved(210, startY + 30);
    manager.PointerPressed(210, startY + 30, 1);
    EXPECT_TRUE(d->dragging);
    manager.PointerMoved(260, startY + 40);
    EXPECT_EQ(d->x, 210);
    EXPECT_EQ(d->y, startY + 10);
    manager.PointerMoved(2000, startY + 40);
    EXPECT_EQ(d->x + d->width, 648);
    manager.PointerMoved(-2000, -2000);
    EXPECT_EQ(d->x, -8);
    EXPECT_EQ(d->y, -8);
    manager.PointerReleased(0, 0, 1);
    EXPECT_FALSE(d->dragging);
}

TEST_F(DialogTest, PreferredHeightAddsEachPart) {
    Dialog d(nullptr, nullptr, 1, false, "Header", "Lines", "Footer", Dialog::BUTTONS_OK_CANCEL);
    SysFont header("Arial Unicode MS", 14);
    SysFont lines("Arial Unicode MS", 12);
    // Insets 24 + 24; the header; 10 after it; one line of text; 8 + the footer line; 8 + the
    // buttons + 8.
    EXPECT_EQ(d.PreferredHeight(320), 48 + header.GetHeight() + 10 + lines.GetHeight() + 8 +
                                          header.GetLineSpacing() + 8 + 24 + 8);
    Dialog bare(nullptr, nullptr, 1, false, "", "", "", Dialog::BUTTONS_NONE);
    EXPECT_EQ(bare.PreferredHeight(320), 48);
}

TEST_F(DialogTest, SharedColourTableAndButtonColours) {
    Dialog d(nullptr, nullptr, 1, false, "", "", "", Dialog::BUTTONS_YES_NO);
    // Made without a button image: button labels turn black, for later dialogs too.
    EXPECT_EQ(Dialog::SharedColors()[Dialog::COLOR_BUTTON_TEXT], Color(0, 0, 0));
    EXPECT_EQ(d.yesButton->PaletteEntry(ButtonWidget::COLOR_LABEL), Color(0, 0, 0));
    EXPECT_EQ(d.PaletteEntry(Dialog::COLOR_BKG), Color(80, 80, 80));
    d.SetPaletteEntry(Dialog::COLOR_BUTTON_TEXT_HILITE, Color(1, 2, 3));
    EXPECT_EQ(d.noButton->PaletteEntry(ButtonWidget::COLOR_LABEL_HILITE), Color(1, 2, 3));
}

}  // namespace
}  // namespace Zarvo

namespace Zarvo {
namespace {

// An application object with a loop, a deferred deletion and button operations.
struct MiniApp : public ButtonListener, public DialogHost {
    std::vector<std::string> events;
    std::vector<Widget*> deleteLater;
    std::function<bool()> step;
    void ButtonDepress(int id) override { events.push_back("depress " + std::to_string(id)); }
    Dialog* MakeDialog(int dialogId, bool isModal, const std::string& header,
                       const std::string& lines, const std::string& footer,
                       int buttonMode) override {
        return new Dialog(nullptr, nullptr, dialogId, isModal, header, lines, footer, buttonMode);
    }
    bool RunModalLoopStep() override { return step(); }
    void DeleteDialogLater(Dialog* d) override { deleteLater.push_back(d); }
    void ModalOpen() override { events.push_back("modal open"); }
    void ModalClose() override {}
    void DialogButtonPressHook(int, int) override {}
    void DialogButtonDepressHook(int, int) override {}
};

TEST(AppDialogTableTest, ServesTheApplicationsLoopDeletionAndButtons) {
    WidgetManager manager(nullptr);
    manager.width = 640;
    manager.height = 480;
    MiniApp app;
    AppDialogTable table(app, &app, &manager, 640, 480);
    Dialog* d = table.ShowDialog(6, true, "Save?", "", "", Dialog::BUTTONS_YES_NO);
    app.step = [&] {
        const Widget& yes = *d->yesButton;
        const int cx = yes.x + 5;
        const int cy = yes.y + 5;
        manager.PointerMoved(cx, cy);
        manager.PointerPressed(cx, cy, 1);
        manager.PointerReleased(cx, cy, 1);
        return true;
    };
    EXPECT_EQ(d->WaitForResult(true), 1000);
    EXPECT_EQ(app.events, (std::vector<std::string>{"modal open", "depress 2006"}));
    ASSERT_EQ(app.deleteLater.size(), 1u);
    EXPECT_EQ(app.deleteLater[0], d);
    delete d;
}

}  // namespace
}  // namespace Zarvo
