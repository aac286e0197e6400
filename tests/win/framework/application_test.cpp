// The application object: creating forms, the main form, the message loop
// and the error box.
#include <windows.h>

#include <gtest/gtest.h>

#include "controls_test_util.h"
#include "framework/StdCtrls.h"

using namespace framework_test;

namespace {

class TFirstForm;
class TSecondForm;
TFirstForm* FirstForm = nullptr;
TSecondForm* SecondForm = nullptr;
std::vector<std::string> createLog;

class TFirstForm : public TForm {
    RASTEL_CLASS_INFO
public:
    explicit TFirstForm(TComponent* owner) : TForm(owner) {
        OnCreate.handler = [this](TObject* sender) {
            // The global already refers to this form, and so does MainForm.
            createLog.push_back(FirstForm == this && sender == this ? "first: global set" : "first: global missing");
            createLog.push_back(Application.MainForm() == this ? "first: main" : "first: not main");
            HandleNeeded();
            throw EFrameworkError("ファイル \"x.bmp\". 見つかりません は開けません");
        };
        button = new TButton(this);
        button->SetParent(this);
        button->OnClick.handler = [this](TObject*) { Close(); };
    }
    TButton* button;
};

class TSecondForm : public TForm {
    RASTEL_CLASS_INFO
public:
    explicit TSecondForm(TComponent* owner) : TForm(owner) {
        OnCreate.handler = [this](TObject*) {
            createLog.push_back(SecondForm == this ? "second: global set" : "second: global missing");
            createLog.push_back(Application.MainForm() == reinterpret_cast<TForm*>(FirstForm) ? "second: first is main"
                                                                                              : "second: main?");
        };
    }
};

const ClassInfo& TFirstForm::StaticClassInfo() {
    static const ClassInfo info{"TFirstForm", &TForm::StaticClassInfo(), {}, {}};
    return info;
}
const ClassInfo& TSecondForm::StaticClassInfo() {
    static const ClassInfo info{"TSecondForm", &TForm::StaticClassInfo(), {}, {}};
    return info;
}

class ApplicationTest : public WindowTest {
protected:
    void TearDown() override {
        delete SecondForm;
        delete FirstForm;
        SecondForm = nullptr;
        FirstForm = nullptr;
        createLog.clear();
        Application.SetTitle("");
        WindowTest::TearDown();
    }
};

}  // namespace

TEST_F(ApplicationTest, CreateFormSetsTheReferenceBeforeOnCreateAndReportsItsErrors) {
    Application.SetTitle("Rastel");
    Application.CreateForm(FirstForm);
    Application.CreateForm(SecondForm);
    ASSERT_NE(FirstForm, nullptr);
    ASSERT_NE(SecondForm, nullptr);
    EXPECT_EQ(Application.MainForm(), FirstForm);
    EXPECT_EQ(createLog,
              (Log{"first: global set", "first: main", "second: global set", "second: first is main"}));
    // The error of the first OnCreate was shown and creation went on.
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0].caption, "Rastel");
    EXPECT_EQ(errors[0].text, "ファイル \"x.bmp\". 見つかりません は開けません.");
    EXPECT_EQ(errors[0].flags, UINT(MB_ICONERROR | MB_OK));
    EXPECT_FALSE(IsWindowVisible(FirstForm->Handle()));  // created hidden
    EXPECT_FALSE(SecondForm->HandleAllocated());
    // Freeing the main form forgets it.
    delete FirstForm;
    FirstForm = nullptr;
    EXPECT_EQ(Application.MainForm(), nullptr);
}

TEST_F(ApplicationTest, RunShowsTheMainFormAndEndsWhenItCloses) {
    Application.CreateForm(FirstForm);
    Application.CreateForm(SecondForm);
    errors.clear();
    // The button closes the main form; the loop ends there.
    PostMessageW(FirstForm->button->Handle(), BM_CLICK, 0, 0);
    SecondForm->Show();
    SecondForm->Close();  // another form only hides
    EXPECT_FALSE(Application.Terminated());
    EXPECT_FALSE(IsWindowVisible(SecondForm->Handle()));
    Application.Run();
    EXPECT_TRUE(Application.Terminated());
    EXPECT_TRUE(IsWindowVisible(FirstForm->Handle()));  // shown by Run; closing ends the loop only
    EXPECT_TRUE(errors.empty());
    // No quit message is left behind for later loops.
    MSG msg;
    EXPECT_FALSE(PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE));
}

TEST_F(ApplicationTest, ClosingTheMainFormBySystemCloseEndsTheLoop) {
    Application.CreateForm(FirstForm);
    errors.clear();
    PostMessageW(FirstForm->Handle(), WM_CLOSE, 0, 0);  // Alt+F4, system menu, close box
    Application.Run();
    EXPECT_TRUE(Application.Terminated());
}

TEST_F(ApplicationTest, ErrorTextsGetAFullStopUnlessTheyEndInOne) {
    Application.SetTitle("Rastel");
    auto raise = [](auto e) {
        try {
            throw e;
        } catch (...) {
            Application.HandleException();
        }
    };
    raise(EFrameworkError("ビットマップイメージが不正です"));
    raise(std::runtime_error("Done!"));
    raise(std::runtime_error("(x)"));
    raise(42);  // not an exception class
    ASSERT_EQ(errors.size(), 4u);
    EXPECT_EQ(errors[0].text, "ビットマップイメージが不正です.");
    EXPECT_EQ(errors[1].text, "Done!");
    EXPECT_EQ(errors[2].text, "(x)");
    EXPECT_FALSE(errors[3].text.empty());
    for (const auto& e : errors) EXPECT_EQ(e.caption, "Rastel");
    // Outside a catch block there is nothing to show.
    Application.HandleException();
    EXPECT_EQ(errors.size(), 4u);
}
