// Forms built from compiled-in descriptions, modal showing, the application and the screen.
#include "TestForms.h"
#include "Timer.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

using FormPtr = std::unique_ptr<TCustomForm, TObjectDeleter>;

struct TNoDescription : TForm {
    TW_DECLARE_CLASS(TNoDescription, TForm)
    using TForm::TForm;
};

TClass TNoDescription::StaticClass() {
    static const TClassInfo info = TClassBuilder<TNoDescription>("TNoDescription").Build();
    return &info;
}

TEST(FormDescription, LoadsTheExpectedObjectTree) {
    std::unique_ptr<TTestMainForm, TObjectDeleter> form(CreateForm<TTestMainForm>(nullptr));
    EXPECT_EQ(form->Name(), "TestMain");
    EXPECT_EQ(form->Caption(), WideToAnsi(L"Main \u6D4B\u8BD5"));
    EXPECT_EQ(form->ClientWidth(), 360);
    EXPECT_EQ(form->ClientHeight(), 240);
    EXPECT_EQ(form->BorderStyle(), bsSingle);
    EXPECT_EQ(form->BorderIcons(), (TBorderIcons{biSystemMenu, biMinimize}));
    EXPECT_EQ(form->Color(), clWhite);
    EXPECT_FALSE(form->AutoScroll());
    // Components: created by class name, owned by the form, placed in their parents.
    ASSERT_NE(form->Panel1, nullptr);
    ASSERT_NE(form->OkButton, nullptr);
    ASSERT_NE(form->Edit1, nullptr);
    ASSERT_NE(form->Holder1, nullptr);
    EXPECT_EQ(form->OkButton->Parent(), form->Panel1);
    EXPECT_EQ(form->Panel1->Parent(), form.get());
    EXPECT_EQ(form->OkButton->Owner(), form.get());
    EXPECT_EQ(form->Panel1->Align(), alTop);
    EXPECT_EQ(form->OkButton->ModalResult(), mrOk);
    EXPECT_TRUE(form->OkButton->Default());
    EXPECT_EQ(form->Edit1->Text(), "hello");
    // References, wide strings, binary data, collections and string lists.
    EXPECT_EQ(form->ActiveControl(), form->Edit1);
    EXPECT_EQ(form->Menu(), form->Holder1);
    EXPECT_EQ(form->Holder1->Title, L"wide \u043F\u0440\u0438");
    EXPECT_EQ(form->Holder1->Blob, (std::vector<uint8_t>{0x0A, 0x0B, 0x0C}));
    ASSERT_EQ(form->Holder1->Columns()->Count(), 2);
    auto* column = dynamic_cast<TTestColumn*>(form->Holder1->Columns()->Items(1));
    ASSERT_NE(column, nullptr);
    EXPECT_EQ(column->Caption, "Kind");
    EXPECT_EQ(column->Width, 50);
    EXPECT_EQ(form->Holder1->Lines()->Values("TPanel"), "Panel");
    // Events bound by name, OnCreate after the description was read.
    EXPECT_EQ(form->Log, (std::vector<std::string>{"create:hello"}));
    SendMessageA(form->OkButton->Handle(), BM_CLICK, 0, 0);
    EXPECT_EQ(form->Log.back(), "ok");
}

TEST(FormDescription, LoadedRunsOncePerComponentAfterAllPropertiesAreSet) {
    std::unique_ptr<TTestMainForm, TObjectDeleter> form(CreateForm<TTestMainForm>(nullptr));
    EXPECT_EQ(form->LoadedCount, 1);
    EXPECT_EQ(form->Holder1->LoadedCount, 1);
    EXPECT_EQ(form->Holder1->ColumnsAtLoaded, 2u);
    EXPECT_TRUE(form->Holder1->FormCaptionSetAtLoaded); // the form's properties came first
    for (int i = 0; i < form->ComponentCount(); ++i)
        EXPECT_FALSE(form->Components(i)->ComponentState().Contains(csLoading))
            << form->Components(i)->Name();
}

TEST(FormDescription, WindowStylesFollowTheBorderStyleFormStyleAndPosition) {
    std::unique_ptr<TTestMainForm, TObjectDeleter> form(CreateForm<TTestMainForm>(nullptr));
    HWND wnd = form->Handle();
    const auto style = static_cast<DWORD>(GetWindowLongPtrA(wnd, GWL_STYLE));
    const auto exStyle = static_cast<DWORD>(GetWindowLongPtrA(wnd, GWL_EXSTYLE));
    EXPECT_EQ(style & WS_CAPTION, static_cast<DWORD>(WS_CAPTION));
    EXPECT_FALSE(style & WS_THICKFRAME);
    EXPECT_TRUE(style & WS_MINIMIZEBOX);
    EXPECT_FALSE(style & WS_MAXIMIZEBOX);
    EXPECT_TRUE(exStyle & WS_EX_TOPMOST);
    RECT client;
    GetClientRect(wnd, &client);
    EXPECT_EQ(client.right, 360);
    EXPECT_EQ(client.bottom, 240);
    RECT area, window;
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    GetWindowRect(wnd, &window);
    EXPECT_NEAR((window.left + window.right) / 2, (area.left + area.right) / 2, 1);
    EXPECT_NEAR((window.top + window.bottom) / 2, (area.top + area.bottom) / 2, 1);

    form->SetBorderStyle(bsDialog);
    const auto dialogStyle = static_cast<DWORD>(GetWindowLongPtrA(form->Handle(), GWL_STYLE));
    EXPECT_TRUE(dialogStyle & DS_MODALFRAME);
    EXPECT_TRUE(GetWindowLongPtrA(form->Handle(), GWL_EXSTYLE) & WS_EX_DLGMODALFRAME);
    form->SetBorderStyle(bsNone);
    EXPECT_FALSE(GetWindowLongPtrA(form->Handle(), GWL_STYLE) & WS_CAPTION);
    form->SetBorderStyle(bsSizeable);
    EXPECT_TRUE(GetWindowLongPtrA(form->Handle(), GWL_STYLE) & WS_THICKFRAME);
    EXPECT_EQ(FindControl(form->Handle()), form.get());
}

TEST(FormDescription, AWrongPropertyNameOrTypeNamesFormComponentAndProperty) {
    try {
        TObject::Free(CreateForm<TTestBadNameForm>(nullptr));
        FAIL() << "no error";
    } catch (const EReadError& e) {
        EXPECT_EQ(
            e.Message(),
            "Error reading BadName.Edit1.Txet (TTestBadNameForm, line 5): Property Txet does not exist");
    }
    try {
        TObject::Free(CreateForm<TTestBadTypeForm>(nullptr));
        FAIL() << "no error";
    } catch (const EReadError& e) {
        EXPECT_EQ(e.Message(),
                  "Error reading BadType.Panel1.Visible (TTestBadTypeForm, line 3): Invalid value for "
                  "property Visible of type Boolean: an integer");
    }
    EXPECT_EQ(Screen->FormCount(), 0); // the half-built forms are gone again
    // A form class without a description is an error too.
    EXPECT_THROW(TObject::Free(CreateForm<TNoDescription>(nullptr)), EResNotFound);
}

class TDesignedForm : public TForm {
    TW_DECLARE_CLASS(TDesignedForm, TForm)
    using TForm::TForm;
    int Shown = 0;
    bool HandleAtShow = false;
    void FormShow(TObject*) {
        ++Shown;
        HandleAtShow = HandleAllocated();
    }
};

TClass TDesignedForm::StaticClass() {
    static const TClassInfo info = TClassBuilder<TDesignedForm>("TDesignedForm")
                                       .Method<TNotifyEvent>("FormShow", &TDesignedForm::FormShow)
                                       .Build();
    return &info;
}

TEST(FormDescription, AVisibleDesignedFormShowsAtItsPlaceOnceComplete) {
    std::unique_ptr<TDesignedForm, TObjectDeleter> form(CreateForm<TDesignedForm>(nullptr));
    EXPECT_EQ(form->Shown, 1);
    EXPECT_TRUE(form->HandleAtShow);
    EXPECT_TRUE(IsWindowVisible(form->Handle()));
    RECT r;
    GetWindowRect(form->Handle(), &r);
    EXPECT_EQ(r.left, 37);
    EXPECT_EQ(r.top, 41);
    EXPECT_EQ(r.right - r.left, 250);
    EXPECT_EQ(r.bottom - r.top, 180);
    EXPECT_EQ(Screen->ActiveForm(), form.get());
    form->Close(); // not the main form: hidden, not freed
    EXPECT_FALSE(IsWindowVisible(form->Handle()));
    EXPECT_EQ(Screen->FormCount(), 1);
}

// Runs a handler inside the next modal loop.
struct ModalDriver : TObject {
    std::function<void()> action;
    void Show(TObject*) {
        if (action)
            action();
    }
};

TEST(ShowModal, ReturnsTheModalResultAndReenablesTheOtherWindows) {
    FormPtr other(new TForm(nullptr, TCreateNew{}));
    other->Show();
    std::unique_ptr<TTestMainForm, TObjectDeleter> dialog(CreateForm<TTestMainForm>(nullptr));
    bool otherEnabledDuringModal = true;
    ModalDriver driver;
    driver.action = [&] {
        otherEnabledDuringModal = IsWindowEnabled(other->Handle());
        PostMessageA(dialog->OkButton->Handle(), BM_CLICK, 0, 0);
    };
    dialog->OnShow = TNotifyEvent(&driver, &ModalDriver::Show);
    EXPECT_EQ(dialog->ShowModal(), mrOk);
    EXPECT_FALSE(otherEnabledDuringModal);
    EXPECT_TRUE(IsWindowEnabled(other->Handle()));
    EXPECT_FALSE(IsWindowVisible(dialog->Handle()));
    EXPECT_FALSE(dialog->FormState().Contains(fsModal));
    EXPECT_EQ(dialog->Log.back(), "ok");

    // Closing a modal form answers mrCancel; it can be shown again afterwards.
    driver.action = [&] { PostMessageA(dialog->Handle(), WM_CLOSE, 0, 0); };
    EXPECT_EQ(dialog->ShowModal(), mrCancel);
    EXPECT_THROW((other->ShowModal()), EInvalidOperation); // already visible
}

TEST(ShowModal, OnCloseQueryCanKeepTheFormOpen) {
    std::unique_ptr<TTestMainForm, TObjectDeleter> dialog(CreateForm<TTestMainForm>(nullptr));
    struct Query : TObject {
        int asked = 0;
        TTestMainForm* form = nullptr;
        void CloseQuery(TObject*, bool& canClose) {
            canClose = ++asked > 1;
            if (!canClose)
                PostMessageA(form->OkButton->Handle(), BM_CLICK, 0, 0); // try again
        }
    } query;
    query.form = dialog.get();
    dialog->OnCloseQuery = TCloseQueryEvent(&query, &Query::CloseQuery);
    ModalDriver driver;
    driver.action = [&] { PostMessageA(dialog->OkButton->Handle(), BM_CLICK, 0, 0); };
    dialog->OnShow = TNotifyEvent(&driver, &ModalDriver::Show);
    EXPECT_EQ(dialog->ShowModal(), mrOk);
    EXPECT_EQ(query.asked, 2);
}

// Closes the first message box of the thread and notes its caption and text.
struct BoxReader {
    static inline std::string caption, text;
    static BOOL CALLBACK Visit(HWND wnd, LPARAM) {
        char cls[32] = {};
        GetClassNameA(wnd, cls, sizeof cls);
        if (std::string(cls) != "#32770")
            return TRUE;
        char buf[256] = {};
        GetWindowTextA(wnd, buf, sizeof buf);
        caption = buf;
        GetDlgItemTextA(wnd, 0xFFFF, buf, sizeof buf);
        text = buf;
        PostMessageA(wnd, WM_COMMAND, IDOK, 0);
        return FALSE;
    }
    static void CALLBACK Tick(HWND, UINT, UINT_PTR id, DWORD) {
        EnumThreadWindows(GetCurrentThreadId(), &Visit, 0);
        if (!caption.empty())
            KillTimer(nullptr, id);
    }
};

TEST(Application, HandleExceptionShowsTheMessageInABoxCaptionedWithTheTitle) {
    Application->SetTitle("Quellmoor test");
    FormPtr form(new TForm(nullptr, TCreateNew{}));
    form->Show();
    auto* button = new TButton(form.get());
    button->SetParent(form.get());
    struct Thrower : TObject {
        void Click(TObject*) { throw EConvertError("Invalid data type for 'x'"); }
    } thrower;
    button->OnClick = TNotifyEvent(&thrower, &Thrower::Click);
    const UINT_PTR timer = SetTimer(nullptr, 0, 50, &BoxReader::Tick);
    SendMessageA(button->Handle(), BM_CLICK, 0, 0); // returns once the box was closed
    KillTimer(nullptr, timer);
    EXPECT_EQ(BoxReader::caption, "Quellmoor test");
    EXPECT_EQ(BoxReader::text, "Invalid data type for 'x'.");
}

TEST(Application, OnCreateErrorsAreReportedAndTheFormStillExists) {
    struct Reporter : TObject {
        std::vector<std::string> messages;
        void Report(TObject*, const Exception& e) { messages.push_back(e.Message()); }
        void FailingCreate(TObject*) { throw Exception("cannot read the list"); }
    } reporter;
    Application->OnException = TExceptionEvent(&reporter, &Reporter::Report);
    struct Failing : TForm {
        Reporter* r = nullptr;
        Failing(TComponent* owner, Reporter* rep) : TForm(owner, TCreateNew{}), r(rep) {
            OnCreate = TNotifyEvent(r, &Reporter::FailingCreate);
        }
    };
    FormPtr form(new Failing(nullptr, &reporter));
    form->AfterConstruction();
    EXPECT_EQ(reporter.messages, (std::vector<std::string>{"cannot read the list"}));
    EXPECT_NE(form->Handle(), nullptr);
    Application->OnException = TExceptionEvent();
}

BOOL CALLBACK CollectApplicationWindows(HWND wnd, LPARAM data) {
    char name[64] = {};
    GetClassNameA(wnd, name, sizeof name);
    if (std::string(name) == "TApplication")
        reinterpret_cast<std::vector<HWND>*>(data)->push_back(wnd);
    return TRUE;
}

TEST(Application, OwnsOneHiddenWindowOfClassTApplicationCaptionedWithTheTitle) {
    Application->Initialize();
    HWND wnd = Application->Handle();
    ASSERT_TRUE(IsWindow(wnd));
    EXPECT_FALSE(IsWindowVisible(wnd));
    EXPECT_EQ(GetParent(wnd), nullptr);
    EXPECT_FALSE(GetWindowLongPtrA(wnd, GWL_STYLE) & WS_CHILD);
    RECT r{};
    GetWindowRect(wnd, &r);
    EXPECT_EQ(r.right - r.left, 0);
    EXPECT_EQ(r.bottom - r.top, 0);
    Application->SetTitle("Quellmoor title");
    char text[64] = {};
    GetWindowTextA(wnd, text, sizeof text);
    EXPECT_STREQ(text, "Quellmoor title");
    // Created once: forms and a second initialisation find it there.
    Application->Initialize();
    FormPtr form(new TForm(nullptr, TCreateNew{}));
    form->Show();
    EXPECT_EQ(Application->Handle(), wnd);
    std::vector<HWND> windows;
    EnumThreadWindows(GetCurrentThreadId(), &CollectApplicationWindows, reinterpret_cast<LPARAM>(&windows));
    EXPECT_EQ(windows, std::vector<HWND>{wnd});
    // Its messages reach the application: closing it closes the main form.
    TTestMainForm* main = nullptr;
    Application->CreateForm(main);
    std::unique_ptr<TCustomForm, TObjectDeleter> owned(main);
    SendMessageA(wnd, WM_CLOSE, 0, 0);
    Application->ProcessMessages();
    EXPECT_TRUE(Application->Terminated());
    EXPECT_TRUE(IsWindow(wnd));
}

TEST(Application, CreateFormMakesTheFirstFormMainAndRunEndsWhenItCloses) {
    TTestMainForm* main = nullptr;
    TTestMainForm* second = nullptr;
    Application->CreateForm(main);
    Application->CreateForm(second);
    EXPECT_EQ(Application->MainForm(), main);
    EXPECT_EQ(main->Owner(), Application);
    EXPECT_EQ(second->Name(), "TestMain_1"); // two instances of one form under one owner
    ASSERT_EQ(Screen->FormCount(), 2);
    EXPECT_EQ(Screen->Forms(0), main);
    EXPECT_EQ(Screen->Forms(1), second);
    EXPECT_NE(Screen->MenuFont(), nullptr);

    struct Closer : TObject {
        TCustomForm* form;
        int ticks = 0;
        void Tick(TObject*) {
            if (++ticks == 2)
                form->Close();
        }
    } closer;
    closer.form = main;
    TTimer timer(nullptr);
    timer.SetInterval(20);
    timer.SetOnTimer(TNotifyEvent(&closer, &Closer::Tick));
    Application->Run();
    EXPECT_EQ(closer.ticks, 2);
    EXPECT_TRUE(Application->Terminated());
    EXPECT_TRUE(IsWindowVisible(main->Handle())); // shown by Run, still there after closing
    TObject::Free(second);
    EXPECT_EQ(Screen->FormCount(), 1);
    TObject::Free(main);
    EXPECT_EQ(Application->MainForm(), nullptr);
    EXPECT_EQ(Screen->FormCount(), 0);
}

TEST(Forms, ReleaseFreesTheFormFromItsOwnMessageQueue) {
    struct Probe : TForm {
        bool* freed;
        Probe(bool* f) : TForm(nullptr, TCreateNew{}), freed(f) {}
        ~Probe() override { *freed = true; }
    };
    bool freed = false;
    auto* form = new Probe(&freed);
    form->AfterConstruction();
    HWND wnd = form->Handle();
    form->Release();
    EXPECT_FALSE(freed);
    Application->ProcessMessages();
    EXPECT_TRUE(freed);
    EXPECT_FALSE(IsWindow(wnd));
}

TEST(Forms, MenuHandleChangesSendMenuChanged) {
    FormPtr form(new TForm(nullptr, TCreateNew{}));
    std::vector<UINT> seen;
    struct Spy : TObject {
        TControl* c;
        TWndMethod old;
        std::vector<UINT>* seen;
        void Hook(TMessage& m) {
            seen->push_back(m.Msg);
            old(m);
        }
    } spy;
    spy.c = form.get();
    spy.old = form->WindowProc;
    spy.seen = &seen;
    form->WindowProc = TWndMethod(&spy, &Spy::Hook);
    TMenuHandle menu(CreateMenu());
    AppendMenuA(menu.Get(), MF_STRING, 1, "File");
    form->SetMenuHandle(menu.Get());
    EXPECT_EQ(GetMenu(form->Handle()), menu.Get());
    EXPECT_NE(std::find(seen.begin(), seen.end(), 0xB015u), seen.end());
    form->SetMenuHandle(nullptr);
    form->WindowProc = spy.old;
}

} // namespace
