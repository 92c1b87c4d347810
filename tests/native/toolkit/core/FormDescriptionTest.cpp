// Form descriptions: parsing, reading into an object tree, errors and writing.
#include "TestClasses.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

const char kForm[] = R"(object Form1: TTestForm
  Caption = 'It''s '#$4E2D'x' +
    ' more'
  Hint = 'Gr'#252'n'
  Size = 300
  Color = clWhite
  Shape = tsRound
  Visible = False
  Options = [toBold, toWide]
  Tag = 99
  Buddy = Button1  // defined further down
  OnText = TextChanged
  Lines.Strings = (
    'TButton=button'
    'TPanel=Panel')
  Items = <
    item
      Width = 150
      Text = 'first'
    end
    item
      Width = 50
    end>
  Data = {03000000 0A0B
          0C}
  object Panel1: TTestWidget
    Size = 10
    object Button1: TTestButton
      Size = -8
      Default = 1
      OnClick = Button1Click
      Buddy = Panel1
    end
  end
  object Extra: TTestWidget
    Color = $00FF00
  end
end
)";

class FormReading : public ::testing::Test {
protected:
    void SetUp() override { LoadLog.clear(); }
    std::unique_ptr<TTestForm, TObjectDeleter> form{new TTestForm(nullptr)};
    void Read(const std::string& text) { ReadComponentText(*form, text, "Unit1.form"); }
    std::string ErrorOf(const std::string& text) {
        form.reset(new TTestForm(nullptr));
        try {
            Read(text);
        } catch (const EReadError& e) {
            return e.Message();
        }
        return "no error";
    }
};

TEST_F(FormReading, EveryPropertyKindLoadsIntoTheExpectedTree) {
    Read(kForm);
    EXPECT_EQ(form->Name(), "Form1");
    EXPECT_EQ(form->Caption, WideToAnsi(L"It's \u4E2Dx more"));
    EXPECT_EQ(form->Hint, L"Gr\u00fcn");
    EXPECT_EQ(form->Size(), 300);
    EXPECT_EQ(form->Color, 0xFFFFFF);
    EXPECT_EQ(form->Shape, tsRound);
    EXPECT_FALSE(form->Visible);
    EXPECT_EQ(form->Options, (TTestOptions{toBold, toWide}));
    EXPECT_EQ(form->Tag(), 99);
    EXPECT_EQ(form->Lines()->Values("TPanel"), "Panel");
    ASSERT_EQ(form->Items()->Count(), 2);
    auto* item0 = dynamic_cast<TTestItem*>(form->Items()->Items(0));
    ASSERT_NE(item0, nullptr);
    EXPECT_EQ(item0->Width, 150);
    EXPECT_EQ(item0->Text, "first");
    EXPECT_EQ(dynamic_cast<TTestItem*>(form->Items()->Items(1))->Width, 50);
    EXPECT_EQ(form->Data, (std::vector<uint8_t>{0x0A, 0x0B, 0x0C}));

    // Nested components: owned by the form, placed in their enclosing component.
    ASSERT_EQ(form->ComponentCount(), 3);
    ASSERT_NE(form->Panel1, nullptr);
    ASSERT_NE(form->Button1, nullptr);
    EXPECT_EQ(form->FindComponent("Panel1"), form->Panel1);
    EXPECT_EQ(form->Panel1->Parent, form.get());
    EXPECT_EQ(form->Button1->Parent, form->Panel1);
    EXPECT_EQ(form->Button1->Owner(), form.get());
    EXPECT_EQ(form->Button1->Size(), -8);
    EXPECT_EQ(form->Button1->Default, 1);
    EXPECT_EQ(dynamic_cast<TTestWidget*>(form->FindComponent("Extra"))->Color, 0x00FF00);
    // References in both directions, including one to a component written later.
    EXPECT_EQ(form->Buddy, form->Button1);
    EXPECT_EQ(form->Button1->Buddy, form->Panel1);
}

TEST_F(FormReading, EventsAreBoundToTheRootsPublishedMethods) {
    Read(kForm);
    ASSERT_TRUE(form->Button1->OnClick.Assigned());
    form->Button1->OnClick(form->Button1);
    std::string text = "typed";
    form->OnText(form.get(), text);
    EXPECT_EQ(form->Calls, (std::vector<std::string>{"click:Button1", "text:typed"}));
    EXPECT_EQ(text, "changed");
    EXPECT_EQ(form->OnText.Data(), form.get());
}

TEST_F(FormReading, LoadedRunsOnceForEveryComponentAfterEverythingWasRead) {
    Read(kForm);
    EXPECT_EQ(LoadLog, (std::vector<std::string>{"Form1", "Panel1", "Button1", "Extra"}));
    for (TTestWidget* w :
         {static_cast<TTestWidget*>(form.get()), form->Panel1, static_cast<TTestWidget*>(form->Button1)}) {
        EXPECT_EQ(w->LoadedCount, 1) << w->Name();
        EXPECT_EQ(w->SizeAtLoaded, w->Size()) << w->Name();
        EXPECT_FALSE(w->ComponentState().Contains(csLoading)) << w->Name();
        EXPECT_FALSE(w->ComponentState().Contains(csReading)) << w->Name();
    }
    // The root was told after its forward reference had been resolved.
    EXPECT_TRUE(form->BuddyAtLoaded);
}

TEST_F(FormReading, ErrorsNameTheFormTheComponentAndTheProperty) {
    EXPECT_EQ(ErrorOf("object Form1: TTestForm\n object Panel1: TTestWidget\n  Capton = 'x'\n end\nend\n"),
              "Error reading Form1.Panel1.Capton (Unit1.form, line 3): Property Capton does not exist");
    EXPECT_EQ(ErrorOf("object Form1: TTestForm\n  Size = 'big'\nend\n"),
              "Error reading Form1.Size (Unit1.form, line 2): Invalid value for property Size of type "
              "Integer: a string");
    EXPECT_EQ(ErrorOf("object Form1: TTestForm\n  Shape = tsOval\nend\n"),
              "Error reading Form1.Shape (Unit1.form, line 2): Invalid value for property Shape of type "
              "TTestShape: tsOval is not a value of TTestShape");
    EXPECT_EQ(ErrorOf("object Form1: TTestForm\n  Options = [toBold, toHuge]\nend\n"),
              "Error reading Form1.Options (Unit1.form, line 2): Invalid value for property Options of type "
              "set of TTestOption: toHuge is not a member of TTestOption");
    EXPECT_EQ(ErrorOf("object Form1: TTestForm\n  OnClick = NoSuchHandler\nend\n"),
              "Error reading Form1.OnClick (Unit1.form, line 2): TTestForm has no published method "
              "NoSuchHandler");
    EXPECT_EQ(ErrorOf("object Form1: TTestForm\n  OnClick = TextChanged\nend\n"),
              "Error reading Form1.OnClick (Unit1.form, line 2): Method TextChanged does not have the "
              "parameters of event OnClick");
    EXPECT_EQ(ErrorOf("object Form1: TTestForm\n  object X: TNoSuchWidget\n  end\nend\n"),
              "Error reading Form1.X.ClassName (Unit1.form, line 2): Class TNoSuchWidget not found");
    EXPECT_EQ(ErrorOf("object Form1: TTestForm\n  Buddy = Nobody\nend\n"),
              "Error reading Form1.Buddy (Unit1.form, line 2): No component named Nobody");
    EXPECT_EQ(ErrorOf("object Form1: TTestForm\n  Items = <\n item\n  Widht = 1\n end>\nend\n"),
              "Error reading Form1.Items[0].Widht (Unit1.form, line 4): Property Widht does not exist");
    EXPECT_EQ(ErrorOf("object Form1: TTestForm\n  Lines.Size = 1\nend\n"),
              "Error reading Form1.Lines.Size (Unit1.form, line 2): Property Size does not exist");
}

TEST_F(FormReading, AFieldOfAnotherClassIsAnError) {
    const std::string message =
        ErrorOf("object Form1: TTestForm\n  object Button1: TTestWidget\n  end\nend\n");
    EXPECT_NE(message.find("Field Button1 is a TTestButton, not a TTestWidget"), std::string::npos)
        << message;
}

TEST_F(FormReading, DuplicateComponentNamesAreRefused) {
    const std::string message =
        ErrorOf("object Form1: TTestForm\n object A: TTestWidget\n end\n object a: TTestWidget\n end\nend\n");
    EXPECT_NE(message.find("A component named a already exists"), std::string::npos) << message;
}

TEST_F(FormReading, ASecondRootUnderTheSameOwnerGetsANumberedName) {
    TComponent owner(nullptr);
    auto* first = new TTestForm(&owner);
    auto* second = new TTestForm(&owner);
    ReadComponentText(*first, "object Form1: TTestForm\nend\n", "a");
    ReadComponentText(*second, "object Form1: TTestForm\nend\n", "b");
    EXPECT_EQ(first->Name(), "Form1");
    EXPECT_EQ(second->Name(), "Form1_1");
}

TEST_F(FormReading, WrittenComponentsReadBackToTheSameTree) {
    Read(kForm);
    const std::string text = WriteComponentText(*form);
    EXPECT_EQ(text.find("Tag = 0"), std::string::npos); // defaults are not written
    EXPECT_NE(text.find("OnClick = Button1Click"), std::string::npos) << text;
    EXPECT_NE(text.find("Buddy = Button1"), std::string::npos) << text;

    std::unique_ptr<TTestForm, TObjectDeleter> copy(new TTestForm(nullptr));
    ReadComponentText(*copy, text, "written");
    EXPECT_EQ(copy->Caption, form->Caption);
    EXPECT_EQ(copy->Hint, form->Hint);
    EXPECT_EQ(copy->Options, form->Options);
    EXPECT_EQ(copy->Color, form->Color);
    EXPECT_EQ(copy->Data, form->Data);
    EXPECT_TRUE(copy->Lines()->Equals(*form->Lines()));
    ASSERT_EQ(copy->Items()->Count(), 2);
    EXPECT_EQ(dynamic_cast<TTestItem*>(copy->Items()->Items(0))->Text, "first");
    ASSERT_NE(copy->Button1, nullptr);
    EXPECT_EQ(copy->Button1->Parent, copy->Panel1);
    EXPECT_EQ(copy->Button1->Buddy, copy->Panel1);
    EXPECT_EQ(copy->Buddy, copy->Button1);
    EXPECT_TRUE(copy->Button1->OnClick == TNotifyEvent(copy.get(), &TTestForm::Button1Click));
    EXPECT_EQ(WriteComponentText(*copy), text); // stable
}

TEST(FormParser, SyntaxErrorsGiveTheSourceAndLine) {
    auto error = [](const char* text) {
        try {
            ParseFormDescription(text, "Broken.form");
        } catch (const EParserError& e) {
            return e.Message();
        }
        return std::string("no error");
    };
    EXPECT_EQ(error("object A: TX\n  Caption = 'open\nend\n"),
              "Error in form description Broken.form, line 2: unterminated string");
    EXPECT_EQ(error("object A: TX\n  Size = 1.5\nend\n"),
              "Error in form description Broken.form, line 2: floating-point values are not supported");
    EXPECT_EQ(
        error("object A: TX\n  Data = {0A0}\nend\n"),
        "Error in form description Broken.form, line 2: odd number of hexadecimal digits in binary data");
    EXPECT_EQ(error("object A: TX\n  Size = 1\n"), "Error in form description Broken.form, line 3: 'end' "
                                                   "expected for A");
    EXPECT_EQ(
        error("object A: TX\n object B: TY\n end\n Size = 1\nend\n"),
        "Error in form description Broken.form, line 4: properties must come before the nested objects");
    EXPECT_EQ(error("object A: TX\nend\nend\n"),
              "Error in form description Broken.form, line 3: text after the final 'end'");
    EXPECT_EQ(error("object A: TX\n  Size = 99999999999999999999\nend\n"),
              "Error in form description Broken.form, line 2: invalid integer '99999999999999999999'");
}

TEST(FormParser, WriterOutputParsesBackToTheSameTree) {
    const TFormObject tree = ParseFormDescription(kForm, "Unit1.form");
    const std::string text = WriteFormDescription(tree);
    const TFormObject again = ParseFormDescription(text, "written");
    EXPECT_EQ(WriteFormDescription(again), text);
    ASSERT_EQ(again.Children.size(), 2u);
    EXPECT_EQ(again.Props[0].Value.Str, L"It's \u4E2Dx more");
    EXPECT_EQ(again.Props.back().Value.Bytes, (std::vector<uint8_t>{3, 0, 0, 0, 0x0A, 0x0B, 0x0C}));
    EXPECT_EQ(again.Children[0].Children[0].Name, "Button1");
}

} // namespace
