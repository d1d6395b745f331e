#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "TestApp.h"
#include "widgets/Dialog.h"
#include "widgets/DialogButton.h"

namespace {

using Zarvo::Dialog;

// Records the button operations the application receives and counts the dialogs it builds.
class DialogApp : public ZarvoTest::TestApp {
public:
    std::vector<std::string> events;
    int made = 0;

    void ButtonPress(int id) override { events.push_back("press " + std::to_string(id)); }
    void ButtonDepress(int id) override { events.push_back("depress " + std::to_string(id)); }
    Dialog* MakeDialog(int dialogId, bool isModal, const std::string& header,
                       const std::string& lines, const std::string& footer,
                       int buttonMode) override {
        ++made;
        return ZarvoAppBase::MakeDialog(dialogId, isModal, header, lines, footer, buttonMode);
    }

    void Click(const Zarvo::Widget& w) {
        const int cx = w.x + w.width / 2;
        const int cy = w.y + w.height / 2;
        Zarvo::WidgetManager* m = GetWidgetManager();
        m->WindowGotFocus();
        m->PointerMoved(cx, cy);
        m->PointerPressed(cx, cy, 1);
        m->PointerReleased(cx, cy, 1);
    }
};

TEST(AppDialogs, ZeroWidthDialogIsPlacedByTheApplicationsSize) {
    DialogApp app;
    Dialog* d = app.ShowDialog(5, true, "Header", "Lines", "", Dialog::BUTTONS_YES_NO);
    EXPECT_EQ(app.made, 1);
    EXPECT_EQ(app.FindDialog(5), d);
    EXPECT_EQ(app.GetDialogCount(), 1);
    EXPECT_EQ(d->width, 320);
    EXPECT_EQ(d->x, 160);
    EXPECT_EQ(d->y, 96);
}

TEST(AppDialogs, SizeChangedAfterConstructionIsUsed) {
    DialogApp app;
    app.width = 800;
    app.height = 600;
    Dialog* d = app.ShowDialog(1, false, "Header", "", "", Dialog::BUTTONS_NONE);
    EXPECT_EQ(d->width, 400);
    EXPECT_EQ(d->x, 200);
    EXPECT_EQ(d->y, 120);
}

TEST(AppDialogs, DialogButtonsReachTheApplicationWithDialogIds) {
    DialogApp app;
    Dialog* d = app.ShowDialog(5, true, "Sure?", "", "", Dialog::BUTTONS_YES_NO);
    ASSERT_NE(d->yesButton, nullptr);
    ASSERT_NE(d->noButton, nullptr);
    app.Click(*d->yesButton);
    app.Click(*d->noButton);
    EXPECT_EQ(app.events, (std::vector<std::string>{"press 2005", "depress 2005", "press 3005",
                                                    "depress 3005"}));
    EXPECT_EQ(d->result, 1001);
}

TEST(AppDialogs, ShowingAnOpenIdReplacesItAndRemovingDefersTheDelete) {
    DialogApp app;
    app.ShowDialog(7, false, "One", "", "", Dialog::BUTTONS_NONE);
    Dialog* second = app.ShowDialog(7, false, "Two", "", "", Dialog::BUTTONS_NONE);
    EXPECT_EQ(app.GetDialogCount(), 1);
    EXPECT_EQ(app.FindDialog(7), second);
    EXPECT_EQ(app.DeferredDeleteCount(), 1u);  // the replaced one
    EXPECT_TRUE(app.RemoveDialog(second));
    EXPECT_FALSE(app.RemoveDialog(7));
    EXPECT_EQ(app.GetDialogCount(), 0);
    EXPECT_EQ(app.DeferredDeleteCount(), 2u);
    app.FlushDeferredDeletes();
    EXPECT_EQ(app.DeferredDeleteCount(), 0u);
}

TEST(AppDialogs, OpenDialogsGoWithTheApplication) {
    // Left open on purpose: the application removes and deletes them (the sanitizer build
    // reports a leak or a use after free otherwise).
    DialogApp app;
    app.ShowDialog(1, true, "Modal", "", "", Dialog::BUTTONS_OK_CANCEL);
    app.ShowDialog(2, false, "Plain", "", "", Dialog::BUTTONS_FOOTER);
    EXPECT_EQ(app.GetDialogCount(), 2);
}

TEST(AppDialogs, WaitEndsUnansweredWhenUpdateCodeRemovesTheDialog) {
    // The removal is queued inside the nested loop and deleted in the same step; the wait must
    // not read the deleted dialog (the sanitizer build reports a use after free otherwise), and
    // must not close a dialog opened under the same id meanwhile.
    DialogApp app;
    app.InitAndLoad();
    Dialog* d = app.ShowDialog(5, true, "Wait", "", "", Dialog::BUTTONS_YES_NO);
    Dialog* replacement = nullptr;
    app.onUpdate = [&](ZarvoTest::TestApp&) {
        if (replacement != nullptr) return;
        app.RemoveDialog(5);
        replacement = app.ShowDialog(5, false, "Other", "", "", Dialog::BUTTONS_NONE);
    };
    EXPECT_EQ(d->WaitForResult(true), Dialog::kNoResult);
    app.onUpdate = nullptr;
    EXPECT_EQ(app.FindDialog(5), replacement);
    EXPECT_EQ(app.GetDialogCount(), 1);
}

}  // namespace
