// Forms and the application: modal loops and modal results, closing, the exception boundary,
// activation and focus, building forms in code, frames and positions.
#include "Forms.h"
#include "TestSupport.h"

#include <QWidget>
#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

// Swaps the application's exception reporter for the length of a test.
class TExceptionCatcher {
public:
    TExceptionCatcher() : FSaved(Application->OnException) {
        Application->OnException = [this](TObject* Sender, Exception& E) {
            Messages.push_back(E.Message());
            Senders.push_back(Sender);
        };
    }
    ~TExceptionCatcher() { Application->OnException = FSaved; }
    std::vector<String> Messages;
    std::vector<TObject*> Senders;

private:
    TExceptionEvent FSaved;
};

// A component that tells when it is freed (through free notifications).
class TWatch : public TComponent {
public:
    TWatch() : TComponent(nullptr) {}
    bool Freed = false;

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override {
        TComponent::Notification(AComponent, Operation);
        if (Operation == opRemove) Freed = true;
    }
};

class TFocusProbe : public TCustomControl {
public:
    explicit TFocusProbe(TComponent* AOwner) : TCustomControl(AOwner) {
        SetTabStop(true);
        SetBounds(0, 0, 40, 20);
    }
};

// A form built in code, as the system's windows are: components made inside the loading
// bracket, OnCreate at its end.
class TBuiltForm : public TForm {
public:
    explicit TBuiltForm(TComponent* AOwner, bool FailInCreate = false) : TForm(AOwner) {
        BeginLoading();
        SetCaption(QStringLiteral("Built"));
        SetBorderStyle(bsDialog);
        SetClientSize(300, 200);
        Edit = new TFocusProbe(this);
        Edit->SetParent(this);
        Edit->SetTabOrder(1);
        Button = new TFocusProbe(this);
        Button->SetParent(this);
        Button->SetTabOrder(0);
        LoadingSeenByChild = Edit->HasState(csLoading);
        OnCreate = [this, FailInCreate](TObject*) {
            CreateSawLoading = HasState(csLoading);
            if (FailInCreate) throw Exception(QStringLiteral("creation failed"));
        };
        EndLoading();
        DoCreate();
    }
    TFocusProbe* Edit;
    TFocusProbe* Button;
    bool LoadingSeenByChild = false;
    bool CreateSawLoading = true;
};

// ---------------------------------------------------------------------------------------------
// Modal forms

TEST(ModalForms, ShowModalEndsWhenAHandlerSetsTheModalResult) {
    std::vector<String> events;
    auto* f = new TForm(nullptr);
    auto freeF = FreeAtEnd(f);
    f->OnShow = [&](TObject*) { events.push_back(QStringLiteral("show")); };
    f->OnCloseQuery = [&](TObject*, bool&) { events.push_back(QStringLiteral("query")); };
    f->OnClose = [&](TObject*, TCloseAction&) { events.push_back(QStringLiteral("close")); };
    f->OnHide = [&](TObject*) { events.push_back(QStringLiteral("hide")); };
    bool visibleInside = false;
    PostCall([&] {
        visibleInside = f->Visible() && f->Showing() && Screen->ActiveForm() == f;
        f->SetModalResult(mrOk);
    });
    EXPECT_EQ(f->ShowModal(), mrOk);
    EXPECT_TRUE(visibleInside);
    EXPECT_FALSE(f->Visible());
    EXPECT_FALSE(f->FormState().count(fsModal));
    EXPECT_EQ(events, (std::vector<String>{"show", "query", "close", "hide"}));
    // A second modal run starts from mrNone.
    PostCall([&] { f->SetModalResult(mrNo); });
    EXPECT_EQ(f->ShowModal(), mrNo);
}

TEST(ModalForms, AVetoedCloseKeepsTheLoopRunning) {
    int queries = 0;
    auto* f = new TForm(nullptr);
    auto freeF = FreeAtEnd(f);
    f->OnCloseQuery = [&](TObject*, bool& CanClose) { CanClose = ++queries > 1; };
    PostCall([&] {
        f->SetModalResult(mrOk);
        PostCall([&] { f->SetModalResult(mrYes); });
    });
    EXPECT_EQ(f->ShowModal(), mrYes);
    EXPECT_EQ(queries, 2);
}

TEST(ModalForms, TheCloseBoxGivesCancel) {
    auto* f = new TForm(nullptr);
    auto freeF = FreeAtEnd(f);
    PostCall([&] { f->Widget()->close(); });
    EXPECT_EQ(f->ShowModal(), mrCancel);
}

TEST(ModalForms, AVisibleFormCannotBecomeModal) {
    auto* f = new TForm(nullptr);
    auto freeF = FreeAtEnd(f);
    f->Show();
    try {
        f->ShowModal();
        FAIL() << "no error";
    } catch (EInvalidOperation& e) {
        EXPECT_EQ(e.Message(), QStringLiteral("Cannot make a visible window modal"));
    }
}

TEST(ModalForms, AnExceptionInAHandlerIsReportedAndTheLoopGoesOn) {
    TExceptionCatcher catcher;
    auto* f = new TForm(nullptr);
    auto freeF = FreeAtEnd(f);
    auto* c = new TFocusProbe(f);
    c->SetParent(f);
    c->OnClick = [](TObject*) { throw EConvertError(QStringLiteral("'x' is not a valid integer value")); };
    PostCall([&] {
        SimulateClick(c, 3, 3);                        // the exception leaves OnClick here
        PostCall([&] { f->SetModalResult(mrAbort); }); // and the loop still runs
    });
    EXPECT_EQ(f->ShowModal(), mrAbort);
    ASSERT_EQ(catcher.Messages.size(), 1u);
    EXPECT_EQ(catcher.Messages[0], QStringLiteral("'x' is not a valid integer value"));
    EXPECT_EQ(catcher.Senders[0], c);
}

TEST(ModalForms, ModalResultOfANestedFormDoesNotEndTheOuterOne) {
    auto* outer = new TForm(nullptr);
    auto freeOuter = FreeAtEnd(outer);
    auto* inner = new TForm(nullptr);
    auto freeInner = FreeAtEnd(inner);
    int innerResult = -1;
    PostCall([&] {
        PostCall([&] { inner->SetModalResult(mrIgnore); });
        innerResult = inner->ShowModal();
        EXPECT_EQ(outer->ModalResult(), mrNone);
        EXPECT_EQ(Screen->ActiveForm(), outer); // the outer form is active again
        outer->SetModalResult(mrRetry);
    });
    EXPECT_EQ(outer->ShowModal(), mrRetry);
    EXPECT_EQ(innerResult, mrIgnore);
}

// ---------------------------------------------------------------------------------------------
// Closing

TEST(Closing, CloseActionsHideFreeOrKeepTheForm) {
    struct Case {
        TCloseAction Action;
        bool Visible, Freed;
    };
    const Case cases[] = {{caHide, false, false}, {caNone, true, false}, {caFree, false, true}};
    for (const Case& c : cases) {
        auto* f = new TForm(nullptr);
        auto* watch = new TWatch();
        auto freeWatch = FreeAtEnd(watch);
        f->FreeNotification(watch);
        f->OnClose = [&](TObject*, TCloseAction& Action) { Action = c.Action; };
        f->Show();
        f->Close();
        if (c.Freed) {
            // Freed after the current message, not inside Close.
            EXPECT_FALSE(watch->Freed);
            EXPECT_TRUE(ProcessMessagesUntil([&] { return watch->Freed; }));
        } else {
            EXPECT_EQ(f->Visible(), c.Visible);
            TObject::Free(f);
        }
    }
}

TEST(Closing, ClosingTheMainFormEndsTheApplication) {
    auto* f = new TForm(nullptr);
    auto freeF = FreeAtEnd(f);
    TCustomForm* savedMain = Application->MainForm();
    Application->SetMainForm(f);
    PostCall([&] { f->Close(); });
    Application->Run(); // returns once the main form has closed
    EXPECT_TRUE(Application->Terminated());
    // A run without a main form returns at once; it clears the flag for the tests after this.
    Application->SetMainForm(nullptr);
    Application->Run();
    EXPECT_FALSE(Application->Terminated());
    Application->SetMainForm(savedMain);
}

TEST(Closing, CreateFormMakesTheFirstFormTheMainForm) {
    TCustomForm* savedMain = Application->MainForm();
    Application->SetMainForm(nullptr);
    TForm* first = nullptr;
    TForm* second = nullptr;
    Application->CreateForm(first);
    Application->CreateForm(second);
    EXPECT_EQ(Application->MainForm(), first);
    EXPECT_EQ(first->Owner(), Application);
    TObject::Free(second);
    TObject::Free(first);
    EXPECT_EQ(Application->MainForm(), nullptr);
    Application->SetMainForm(savedMain);
}

// ---------------------------------------------------------------------------------------------
// Activation and focus

TEST(Activation, ShowingAFormActivatesItAndFocusesItsFirstTabStop) {
    std::vector<String> events;
    auto* a = new TBuiltForm(nullptr);
    auto freeA = FreeAtEnd(a);
    auto* b = new TBuiltForm(nullptr);
    auto freeB = FreeAtEnd(b);
    a->OnActivate = [&](TObject*) { events.push_back(QStringLiteral("a+")); };
    a->OnDeactivate = [&](TObject*) { events.push_back(QStringLiteral("a-")); };
    b->OnActivate = [&](TObject*) { events.push_back(QStringLiteral("b+")); };
    b->OnDeactivate = [&](TObject*) { events.push_back(QStringLiteral("b-")); };
    a->Show();
    EXPECT_EQ(a->ActiveControl(), a->Button); // tab order 0
    EXPECT_TRUE(a->Button->Focused());
    a->Edit->SetFocus();
    b->Show();
    EXPECT_TRUE(b->Button->Focused());
    EXPECT_FALSE(a->Edit->Focused());
    b->Hide();
    // The form shown before takes over again, with the control it had.
    EXPECT_EQ(Screen->ActiveForm(), a);
    EXPECT_TRUE(a->Edit->Focused());
    EXPECT_EQ(events, (std::vector<String>{"a+", "a-", "b+", "b-", "a+"}));
}

TEST(Activation, ControlsThatCannotTakeTheFocusRaise) {
    auto* f = new TBuiltForm(nullptr);
    auto freeF = FreeAtEnd(f);
    // The form is not shown.
    try {
        f->Edit->SetFocus();
        FAIL() << "no error";
    } catch (EInvalidOperation& e) {
        EXPECT_EQ(e.Message(), QStringLiteral("Cannot focus a disabled or invisible window"));
    }
    f->Show();
    f->Edit->SetEnabled(false);
    EXPECT_THROW(f->SetActiveControl(f->Edit), EInvalidOperation);
    EXPECT_THROW(f->Edit->SetFocus(), EInvalidOperation);
    f->Button->Hide();
    EXPECT_FALSE(f->Button->CanFocus());
    EXPECT_THROW(f->Button->SetFocus(), EInvalidOperation);
}

TEST(Activation, HidingTheFocusedControlGivesTheFocusToTheForm) {
    auto* f = new TBuiltForm(nullptr);
    auto freeF = FreeAtEnd(f);
    f->Show();
    ASSERT_TRUE(f->Button->Focused());
    f->Button->Hide();
    EXPECT_EQ(f->ActiveControl(), nullptr);
    EXPECT_TRUE(f->Focused());
    // Tab from the form goes to the first control that can take it.
    SimulateKey(nullptr, VK_TAB);
    EXPECT_TRUE(f->Edit->Focused());
}

TEST(Activation, FreeingTheFocusedControlLeavesNoDanglingFocus) {
    auto* f = new TBuiltForm(nullptr);
    auto freeF = FreeAtEnd(f);
    f->Show();
    ASSERT_TRUE(f->Button->Focused());
    TObject::Free(f->Button);
    EXPECT_EQ(f->ActiveControl(), nullptr);
    EXPECT_NE(Screen->ActiveControl(), nullptr);
    SimulateKey(nullptr, VK_TAB);
    EXPECT_TRUE(f->Edit->Focused());
    FreeAndNil(f);
    EXPECT_EQ(Screen->ActiveControl(), nullptr);
}

// ---------------------------------------------------------------------------------------------
// Building forms

TEST(Building, OnCreateRunsAfterTheLoadingBracket) {
    auto* f = new TBuiltForm(nullptr);
    auto freeF = FreeAtEnd(f);
    EXPECT_TRUE(f->LoadingSeenByChild);
    EXPECT_FALSE(f->CreateSawLoading);
    EXPECT_FALSE(f->HasState(csLoading));
    EXPECT_EQ(f->Edit->TabOrder(), 1);
    EXPECT_EQ(f->Button->TabOrder(), 0);
    EXPECT_EQ(f->ClientWidth(), 300);
    EXPECT_EQ(f->ClientHeight(), 200);
}

TEST(Building, AnExceptionInOnCreateIsReportedAndTheFormExists) {
    TExceptionCatcher catcher;
    auto* f = new TBuiltForm(nullptr, true);
    auto freeF = FreeAtEnd(f);
    ASSERT_EQ(catcher.Messages.size(), 1u);
    EXPECT_EQ(catcher.Messages[0], QStringLiteral("creation failed"));
}

TEST(Building, TheClientAreaKeepsItsSizeWhateverTheBorder) {
    auto* f = new TForm(nullptr);
    auto freeF = FreeAtEnd(f);
    f->SetClientSize(250, 150);
    for (TFormBorderStyle s : {bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin}) {
        f->SetBorderStyle(s);
        EXPECT_EQ(f->ClientWidth(), 250) << s;
        EXPECT_EQ(f->ClientHeight(), 150) << s;
        EXPECT_GE(f->Width(), 250);
    }
    f->SetBorderStyle(bsNone);
    EXPECT_EQ(f->Width(), 250);
    EXPECT_EQ(f->Height(), 150);
}

TEST(Building, ScreenCenterPlacesTheFormInTheMiddle) {
    auto* f = new TForm(nullptr);
    auto freeF = FreeAtEnd(f);
    f->SetBorderStyle(bsNone);
    f->SetBounds(0, 0, 200, 100);
    f->SetPosition(poScreenCenter);
    f->Show();
    EXPECT_EQ(f->Left(), (Screen->Width() - 200) / 2);
    EXPECT_EQ(f->Top(), (Screen->Height() - 100) / 2);
}

TEST(Building, GetParentFormWalksTheParents) {
    auto* f = new TForm(nullptr);
    auto freeF = FreeAtEnd(f);
    auto* holder = new TCustomControl(f);
    holder->SetParent(f);
    auto* inner = new TFocusProbe(f);
    inner->SetParent(holder);
    EXPECT_EQ(GetParentForm(inner), f);
    EXPECT_EQ(GetParentForm(f), f);
    auto* lone = new TFocusProbe(nullptr);
    auto freeLone = FreeAtEnd(lone);
    EXPECT_EQ(GetParentForm(lone), nullptr);
    EXPECT_THROW(ValidParentForm(lone), EInvalidOperation);
}

TEST(Building, TheMouseWheelReachesTheFormAfterItsFocusedControl) {
    std::vector<int> deltas;
    bool controlFirst = false;
    auto* f = new TBuiltForm(nullptr);
    auto freeF = FreeAtEnd(f);
    f->Show();
    f->OnMouseWheel = [&](TObject*, TShiftState, int Delta, TPoint, bool& Handled) {
        deltas.push_back(Delta);
        Handled = true;
    };
    f->Button->OnMouseWheel = [&](TObject*, TShiftState, int, TPoint, bool&) {
        controlFirst = deltas.empty();
    };
    SimulateWheel(f->Edit, -120, {}, 5, 5);
    EXPECT_TRUE(controlFirst);
    EXPECT_EQ(deltas, std::vector<int>({-120}));
}

} // namespace
