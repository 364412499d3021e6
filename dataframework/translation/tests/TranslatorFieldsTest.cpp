// The translator's process-wide fields and tables, the language fields, the
// calculated fields on real translation rows, the edit path and the pictures.
#include <gtest/gtest.h>

#include "dataframework/elements/CommonCalcFields.h"
#include "dataframework/elements/DataTable.h"
#include "dataframework/elements/KeyField.h"
#include "dataframework/elements/RowStorage.h"
#include "dataframework/elements/SubTotalRow.h"
#include "dataframework/translation/BitmapLoader.h"
#include "dataframework/translation/DoTranslateDisplayField.h"
#include "dataframework/translation/LangDisplayField.h"
#include "dataframework/translation/LangNameField.h"
#include "dataframework/translation/LangSortField.h"
#include "dataframework/translation/MarkRowCalcField.h"
#include "dataframework/translation/UnitLookupField.h"
#include "dataframework/translation/tests/TranslationTestSupport.h"
#include "dataframework/types/DerivedDataType.h"
#include "dataframework/types/ReferenceTypes.h"
#include "dataframework/types/TextTypes.h"
#include "testsupport/MessageOf.h"

namespace dataframework::testing {
namespace {

TEST(TranslatorFieldsTest, ProcessWideFieldsHaveTheirCaptionsClassesAndTypes) {
  const struct {
    TDataField* Field;
    const char* Caption;
    const char* ClassName;
    const TDataType* Type;
  } cases[] = {
      {ClassField(), "Class", "TKeyField", StringType(64, false)},
      {GuidField(), "GUID", "TKeyField", StringType(38, false)},
      {UnitField(), "Unit", "TUnitLookupField", StringType(64, false)},
      {FormClassField(), "Form Class", "TUnitLookupField", StringType(64, false)},
      {ComponentField(), "Component", "TKeyField", StringType(64, false)},
      {PropertyField(), "Property", "TKeyField", StringType(64, false)},
      {MarkRowField(), "", "TMarkRowCalcField", PictureType()},
      {TranslateField(), "Translate", "TDataField", BooleanType()},
      {TranslateDisplayField(), "Translate", "TDoTranslateDisplayField", BooleanType()},
      {IncludeSubclassesField(), "Include subclasses", "TDataField", BooleanType()},
      {ComponentPointerField(), "Pointer to component", "TDataField", ObjectType()},
      {TranslateTextField(), "", "TBooleanTextField", nullptr},
      {TranslateDisplayTextField(), "", "TBooleanTextField", nullptr},
      {IncludeSubclassesTextField(), "", "TBooleanTextField", nullptr},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.ClassName + std::string(" ") + c.Caption);
    ASSERT_NE(c.Field, nullptr);
    EXPECT_EQ(c.Field->FieldName(), "");
    EXPECT_EQ(c.Field->CaptionText(), c.Caption);
    EXPECT_EQ(c.Field->ClassType().ClassName(), c.ClassName);
    if (c.Type != nullptr) {
      EXPECT_EQ(c.Field->DataType(), c.Type);
    }
  }
  // Calculated fields: summed before aggregating; read-only as their use says.
  const struct {
    TCalcField* Field;
    bool ReadOnly;
  } calcs[] = {{UnitField(), true}, {MarkRowField(), true}, {TranslateDisplayField(), false}};
  for (const auto& c : calcs) {
    EXPECT_TRUE(c.Field->CalcbeforeAggregating());
    EXPECT_EQ(c.Field->DefaultReadOnly(), c.ReadOnly);
  }
  EXPECT_TRUE(MarkRowField()->IsAggregable());
  EXPECT_EQ(TranslateTextField()->BooleanField(), TranslateField());
  EXPECT_EQ(IncludeSubclassesTextField()->BooleanField(), IncludeSubclassesField());
}

TEST(TranslatorFieldsTest, RulesAndFormsTables) {
  const struct {
    TDataTable* Table;
    std::vector<TDataField*> Fields;
    int Keys;
  } cases[] = {
      {RulesTable(),
       {ClassField(), PropertyField(), IncludeSubclassesField(), TranslateField()},
       2},
      {FormsTable(), {GuidField(), UnitField(), FormClassField()}, 1},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(c.Table->KeyCount(), c.Keys);
    EXPECT_EQ(c.Table->Fields(), c.Fields);
  }
}

TEST(TranslatorFieldsTest, LanguageFieldOwnsItsSortAndDisplayFields) {
  TLangNameField field;
  EXPECT_EQ(field.DataType(), StringType(255, false));
  EXPECT_EQ(field.SortField(), field.LangSortField());
  EXPECT_EQ(field.DisplayField()->SortField(), field.LangSortField());
  EXPECT_EQ(field.LangSortField()->LanguageField(), &field);
  EXPECT_EQ(field.DisplayField()->LanguageField(), &field);
  EXPECT_EQ(field.DisplayField()->DataType(), field.DataType());
  EXPECT_TRUE(field.LangSortField()->DefaultReadOnly());
  EXPECT_FALSE(field.DisplayField()->DefaultReadOnly());
  field.SetLanguageName("Ing");
  EXPECT_EQ(field.CaptionText(), "Ing");
  EXPECT_EQ(field.DisplayField()->CaptionText(), "Ing");
}

// A form with a button bound to an action, translated into Esp / Ing / Por.
class FieldsOnRowsTest : public TranslationFixture {
 protected:
  void SetUp() override {
    TranslationFixture::SetUp();
    Action = new TTestAction(Form.get());
    Action->SetName("ACTOpen");
    Action->SetCaption("&Abrir");
    Button = new TTestButton(Form.get());
    Button->SetName("BTNOpen");
    Button->SetCaption("Abrir");
    Button->SetHint("Abre un archivo");
    Button->SetAction(Action);
    Strings->AddRule("TTestButton", "Caption", false, false);
    Strings->AddRule("TTestButton", "Hint", false, false);
    Strings->AddRule("TTestAction", "Caption", false, false);
    Strings->AddRule("TTestForm", "Caption", false, false);
    Strings->Gather(Translator, NotFound);
  }

  TValue Value(TDataRow* Row, TDataField* Field) {
    TValue v;
    Row->GetFieldValue(Field, v);
    return v;
  }
  platform::TObject* Picture(TDataRow* Row) { return ValueAsObject(Value(Row, MarkRowField())); }

  TTestAction* Action = nullptr;
  TTestButton* Button = nullptr;
};

TEST_F(FieldsOnRowsTest, SortKeyOfTheLanguageText) {
  TLangNameField* esp = Strings->LanguageField(0);
  TDataRow* row = Row("BTNOpen", "Hint");
  for (const auto& [text, key] : {std::pair<const char*, const char*>{"&Open File", "open file"},
                                  {"Save && Exit", "save  exit"}}) {
    SCOPED_TRACE(text);
    row->SetFStringValue(esp, text);
    EXPECT_EQ(ValueAsString(Value(row, esp->LangSortField())), key);
    EXPECT_EQ(ValueAsString(Value(row, esp->DisplayField())), text);
  }
}

TEST_F(FieldsOnRowsTest, MarkPictureShowsWhatTheRowStandsFor) {
  TMarkRowCalcField* mark = MarkRowField();
  auto* gone = new TTestButton(Form.get());
  gone->SetName("BTNGone");
  gone->SetCaption("x");
  Strings->Gather(Translator, NotFound);
  TDataRow* goneRow = Row("BTNGone", "Caption");
  delete gone;
  const struct {
    TDataRow* Row;
    platform::TPicture* Picture;
  } cases[] = {
      {Row("BTNOpen", "Caption"), mark->ActionPicture()},  // taken from the action
      {Row("BTNOpen", "Hint"), mark->ActionPicture()},
      {Row("ACTOpen", "Caption"), mark->FormPicture()},
      {Row("FRMMain", "Caption"), mark->FormPicture()},
      {goneRow, mark->DisabledPicture()},  // no component
  };
  for (const auto& c : cases) {
    ASSERT_NE(c.Row, nullptr);
    SCOPED_TRACE(c.Row->GetFStringValue(ComponentField()) + " " +
                 c.Row->GetFStringValue(PropertyField()));
    EXPECT_EQ(Picture(c.Row), c.Picture);
  }
  // A path the component does not publish as such.
  std::unique_ptr<TDataRow> listRow = Strings->GetTranslationStorage()->CreateRow();
  listRow->SetFStringValue(GuidField(), Translator->FormGuid());
  listRow->SetFStringValue(ComponentField(), "BTNOpen");
  listRow->SetFStringValue(PropertyField(), "Items[2]");
  TDataRow* kept = listRow.get();
  ASSERT_EQ(Strings->GetTranslationStorage()->PutNewRow(listRow, paRefuse), prOk);
  EXPECT_EQ(Picture(kept), mark->FormPicture());

  // No translator: the strings serve no context.
  Strings->SetContext(nullptr);
  EXPECT_EQ(Picture(Row("FRMMain", "Caption")), mark->DisabledPicture());
}

TEST_F(FieldsOnRowsTest, RowsOutsideATranslatorStorageHaveNoContext) {
  TRowStorage plain(Strings->TranslationTable());
  std::unique_ptr<TDataRow> row = plain.CreateRow();
  row->SetFStringValue(GuidField(), Translator->FormGuid());
  row->SetFStringValue(ComponentField(), "BTNOpen");
  row->SetFStringValue(PropertyField(), "Caption");
  TDataRow* stored = row.get();
  ASSERT_EQ(plain.PutNewRow(row, paRefuse), prOk);
  Strings->RegisterForm(Translator);
  EXPECT_EQ(Picture(stored), MarkRowField()->DisabledPicture());
  EXPECT_EQ(ValueAsString(Value(stored, UnitField())), "");
  EXPECT_FALSE(IsActionRow(stored));
  TFormTranslator* translator = Translator;
  platform::TComponent* component = Button;
  RowTranslationContext(stored, translator, component);
  EXPECT_EQ(translator, nullptr);
  EXPECT_EQ(component, nullptr);
  RowTranslationContext(nullptr, translator, component);
  EXPECT_EQ(translator, nullptr);
}

TEST_F(FieldsOnRowsTest, UnitLookupFindsTheRowsForm) {
  TDataRow* row = Row("BTNOpen", "Caption");
  EXPECT_EQ(ValueAsString(Value(row, UnitField())), "");  // not registered yet
  Strings->RegisterForm(Translator);
  EXPECT_EQ(ValueAsString(Value(row, UnitField())), "TestForms");
  EXPECT_EQ(ValueAsString(Value(row, FormClassField())), "TTestForm");
  Strings->DeleteForm(Translator->FormGuid());
  Strings->Gather(Translator, NotFound);
  EXPECT_EQ(ValueAsString(Value(Row("BTNOpen", "Caption"), UnitField())), "");
}

TEST_F(FieldsOnRowsTest, ContextFindsTheFormAndItsComponents) {
  const struct {
    const char* Component;
    platform::TComponent* Expected;
  } cases[] = {{"FRMMain", Form.get()}, {"frmmain", Form.get()}, {"BTNOpen", Button}};
  int n = 0;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Component);
    std::unique_ptr<TDataRow> row = Strings->GetTranslationStorage()->CreateRow();
    row->SetFStringValue(GuidField(), "{X" + std::to_string(++n) + "}");
    row->SetFStringValue(ComponentField(), c.Component);
    row->SetFStringValue(PropertyField(), "Tag");
    TDataRow* kept = row.get();
    ASSERT_EQ(Strings->GetTranslationStorage()->PutNewRow(row, paRefuse), prOk);
    TFormTranslator* translator = nullptr;
    platform::TComponent* component = nullptr;
    RowTranslationContext(kept, translator, component);
    EXPECT_EQ(translator, Translator);
    EXPECT_EQ(component, c.Expected);
  }
}

TEST_F(FieldsOnRowsTest, EditingATextMarksTheRowAndReachesTheFormInTheCurrentLanguage) {
  TDataRow* row = Row("FRMMain", "Caption");
  TLangNameField* esp = Strings->LanguageField(0);
  TLangNameField* ing = Strings->LanguageField(1);
  ASSERT_FALSE(row->GetFBooleanValue(TranslateField()));
  // Another language than the current one: stored and marked, form unchanged.
  EXPECT_EQ(row->SetFieldValue(ing->DisplayField(), StringValue("Main")), srOk);
  EXPECT_TRUE(row->GetFBooleanValue(TranslateField()));
  EXPECT_EQ(Text(row, 1), "Main");
  EXPECT_EQ(Form->Caption(), "Principal");
  // The current language: the live form follows at once.
  EXPECT_EQ(row->SetFieldValue(esp->DisplayField(), StringValue("Ventana principal")), srOk);
  EXPECT_EQ(Form->Caption(), "Ventana principal");
  // Turning the flag off never writes the form; turning it on applies the row.
  row->SetFStringValue(esp, "Otra");
  EXPECT_EQ(row->SetFieldValue(TranslateDisplayField(), BooleanValue(false)), srOk);
  EXPECT_FALSE(row->GetFBooleanValue(TranslateField()));
  EXPECT_EQ(Form->Caption(), "Ventana principal");
  EXPECT_FALSE(ValueAsBoolean(Value(row, TranslateDisplayField())));
  EXPECT_EQ(row->SetFieldValue(TranslateDisplayField(), BooleanValue(true)), srOk);
  EXPECT_EQ(Form->Caption(), "Otra");
  // No row: nothing happens.
  SetTranslationValue(nullptr, esp, StringValue("x"));
}

TEST_F(FieldsOnRowsTest, ActionTextsAreReadOnlyOnTheirUsersAndFlowFromTheAction) {
  TLangNameField* ing = Strings->LanguageField(1);
  TDataRow* user = Row("BTNOpen", "Caption");
  TDataRow* own = Row("ACTOpen", "Caption");
  EXPECT_TRUE(IsActionRow(user));
  EXPECT_FALSE(IsActionRow(own));
  EXPECT_TRUE(ing->DisplayField()->IsReadOnly(user));
  EXPECT_TRUE(TranslateDisplayField()->IsReadOnly(user));
  EXPECT_FALSE(ing->DisplayField()->IsReadOnly(own));
  EXPECT_EQ(user->SetFieldValue(ing->DisplayField(), StringValue("x")), srReadOnly);
  EXPECT_EQ(Text(user, 1), "&Abrir");
  // The Hint of the button is the action's too (the action has a Hint).
  EXPECT_TRUE(IsActionRow(Row("BTNOpen", "Hint")));

  // Editing the action's own text hands it to the users.
  EXPECT_EQ(own->SetFieldValue(ing->DisplayField(), StringValue("&Open")), srOk);
  EXPECT_EQ(Text(user, 1), "&Open");
  EXPECT_TRUE(user->GetFBooleanValue(TranslateField()));
  Translator->SwitchLanguage(1);
  EXPECT_EQ(Action->Caption(), "&Open");
}

TEST_F(FieldsOnRowsTest, DesignerHearsOfEditsOnlyWhileDesigning) {
  static int Notified = 0;
  Notified = 0;
  TFormTranslator::SetDesignerNotify([](TFormTranslator*) { ++Notified; });
  TDataRow* row = Row("FRMMain", "Caption");
  row->SetFieldValue(Strings->LanguageField(1)->DisplayField(), StringValue("a"));
  EXPECT_EQ(Notified, 0);
  Form->SetDesigning(true);
  row->SetFieldValue(Strings->LanguageField(1)->DisplayField(), StringValue("b"));
  EXPECT_EQ(Notified, 1);
  TFormTranslator::SetDesignerNotify(nullptr);
}

TEST_F(FieldsOnRowsTest, SubtotalRowsShowAPictureToo) {
  TTranslatorRowStorage* storage = Strings->GetTranslationStorage();
  TSubTotalRow* root = storage->Root();
  ASSERT_GT(root->ChildCount(), 0);
  auto* formLevel = static_cast<TSubTotalRow*>(root->Child(0));
  ASSERT_GT(formLevel->ChildCount(), 1);
  // The form level names no component; a component level names its own.
  const std::pair<TAbstractRow*, platform::TPicture*> cases[] = {
      {formLevel, MarkRowField()->DisabledPicture()},
      {formLevel->Child(0), MarkRowField()->FormPicture()}};
  for (const auto& [row, picture] : cases) {
    ASSERT_TRUE(row->IsSubTotal());
    TValue v;
    row->GetFieldValue(MarkRowField(), v);
    EXPECT_EQ(v.DataType, PictureType());
    EXPECT_EQ(ValueAsObject(v), picture);
  }
  // Every other column of the editor reads on subtotal rows too.
  TLangNameField* esp = Strings->LanguageField(0);
  for (TDataField* field : {static_cast<TDataField*>(UnitField()), static_cast<TDataField*>(esp),
                            static_cast<TDataField*>(esp->LangSortField()),
                            static_cast<TDataField*>(esp->DisplayField()),
                            static_cast<TDataField*>(TranslateDisplayField()),
                            static_cast<TDataField*>(TranslateDisplayTextField())}) {
    TValue v;
    EXPECT_NO_THROW(formLevel->Child(0)->GetFieldValue(field, v));
  }
}

// ---- Pictures.

TEST(TranslatorPicturesTest, ResourcesAreLoadedTransparent) {
  const struct {
    const char* Name;
    int Width;
    int Height;
  } cases[] = {{"BMP_ACTLIST", 13, 13}, {"BMP_FORM", 12, 9}, {"BMP_FORMDISABLE", 12, 9}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    std::unique_ptr<platform::TPicture> picture = LoadTransparentBitmap(c.Name);
    ASSERT_EQ(picture->Width(), c.Width);
    ASSERT_EQ(picture->Height(), c.Height);
    const std::uint32_t ground = picture->Pixel(0, c.Height - 1);
    EXPECT_EQ(ground >> 24, 0u);
    int opaque = 0;
    for (int y = 0; y < c.Height; ++y)
      for (int x = 0; x < c.Width; ++x) {
        const std::uint32_t p = picture->Pixel(x, y);
        EXPECT_EQ((p >> 24) == 0, (p & 0xFFFFFF) == (ground & 0xFFFFFF));
        opaque += (p >> 24) == 0xFF ? 1 : 0;
      }
    EXPECT_GT(opaque, c.Width * c.Height / 2);
  }
  EXPECT_EQ(testsupport::MessageOf([] { LoadTransparentBitmap("BMP_NONE"); }),
            "LoadImageFromRes: Requested image 'BMP_NONE' couldn't be found!");
}

class OneColourLoader : public IBitmapLoader {
 public:
  std::unique_ptr<platform::TPicture> LoadBitmap(const std::string& Name) const override {
    if (Name != "BMP_FORM") return nullptr;
    auto picture = std::make_unique<platform::TPicture>(2, 2);
    picture->SetPixel(0, 0, 0xFF112233u);
    picture->SetPixel(1, 0, 0xFF445566u);
    picture->SetPixel(0, 1, 0xFF445566u);
    picture->SetPixel(1, 1, 0xFF112233u);
    return picture;
  }
};

TEST(TranslatorPicturesTest, AnInstalledLoaderIsUsed) {
  OneColourLoader loader;
  EXPECT_EQ(InstallBitmapLoader(&loader), nullptr);
  std::unique_ptr<platform::TPicture> picture = LoadTransparentBitmap("BMP_FORM");
  EXPECT_EQ(picture->Pixel(1, 0), 0x00445566u);
  EXPECT_EQ(picture->Pixel(0, 0), 0xFF112233u);
  EXPECT_EQ(testsupport::MessageOf([] { LoadTransparentBitmap("BMP_ACTLIST"); }),
            "LoadImageFromRes: Requested image 'BMP_ACTLIST' couldn't be found!");
  EXPECT_EQ(InstallBitmapLoader(nullptr), &loader);
  EXPECT_EQ(LoadTransparentBitmap("BMP_ACTLIST")->Width(), 13);
}

TEST(TranslatorPicturesTest, FourBitBitmapsRoundTrip) {
  for (const std::string& name : TBuiltInBitmapLoader::ResourceNames()) {
    SCOPED_TRACE(name);
    std::unique_ptr<platform::TPicture> picture = TBuiltInBitmapLoader().LoadBitmap(name);
    const std::vector<std::uint8_t> bytes = EncodeBitmap4(*picture);
    EXPECT_EQ(bytes[28], 4);  // bits per pixel
    std::unique_ptr<platform::TPicture> back = DecodeBitmap(bytes);
    ASSERT_EQ(back->Width(), picture->Width());
    ASSERT_EQ(back->Height(), picture->Height());
    for (int y = 0; y < back->Height(); ++y)
      for (int x = 0; x < back->Width(); ++x) EXPECT_EQ(back->Pixel(x, y), picture->Pixel(x, y));
  }
  platform::TPicture odd(1, 1);
  odd.SetPixel(0, 0, 0xFF123456u);
  EXPECT_EQ(testsupport::MessageOf([&] { EncodeBitmap4(odd); }),
            "EncodeBitmap4: colour 123456 is not in the palette");
}

TEST(TranslatorPicturesTest, DecodeBitmapRefusesBrokenFiles) {
  const std::vector<std::uint8_t> good =
      EncodeBitmap4(*TBuiltInBitmapLoader().LoadBitmap("BMP_FORM"));
  auto patched = [&](size_t At, std::uint8_t Value) {
    std::vector<std::uint8_t> b = good;
    b[At] = Value;
    return b;
  };
  const struct {
    std::vector<std::uint8_t> Bytes;
    const char* Message;
  } cases[] = {
      {{}, "DecodeBitmap: the file is too short"},
      {patched(0, 'X'), "DecodeBitmap: not a bitmap file"},
      {patched(28, 16), "DecodeBitmap: 16 bits per pixel are not supported"},
      {patched(30, 2), "DecodeBitmap: compressed bitmaps are not supported"},
      {patched(18, 0), "DecodeBitmap: invalid size"},
      {patched(46, 200), "DecodeBitmap: invalid palette"},
      {std::vector<std::uint8_t>(good.begin(), good.end() - 10),
       "DecodeBitmap: the pixels are cut off"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Message);
    EXPECT_EQ(testsupport::MessageOf([&] { DecodeBitmap(c.Bytes); }), c.Message);
  }
}

}  // namespace
}  // namespace dataframework::testing
