// The property registry as the form files and the tool use it: text and
// typed access, stored defaults, enumerations, dotted sub-object paths,
// Assign, and errors that name the component and property.
#include <gtest/gtest.h>

#include "platform/runtime/collection.h"
#include "platform/runtime/component.h"
#include "platform/runtime/error.h"

namespace fc {
namespace {

enum TTestShape { tsRound, tsSquare, tsStar };

const TEnumInfo& TestShapeInfo() {
  static const TEnumInfo info("TTestShape", {"tsRound", "tsSquare", "tsStar"});
  return info;
}

class TTestOffset : public TOwnedPersistent {
  FC_DECLARE_CLASS_INFO()
public:
  using TOwnedPersistent::TOwnedPersistent;
  std::int32_t GetX() const { return x_; }
  void SetX(std::int32_t v) { x_ = v; }

private:
  std::int32_t x_ = 0;
};

const TClassInfo& TTestOffset::StaticClassInfo() {
  static const TClassInfo info = TClassBuilder<TTestOffset>("TTestOffset", &TPersistent::StaticClassInfo())
                                     .Property("X", &TTestOffset::GetX, &TTestOffset::SetX, 0)
                                     .Build();
  return info;
}

constexpr std::uint8_t kLevelDefault = 100;

class TTestWidget : public TComponent {
  FC_DECLARE_CLASS_INFO()
public:
  explicit TTestWidget(TComponent* owner) : TComponent(owner) {}
  std::uint8_t GetLevel() const { return level_; }
  void SetLevel(std::uint8_t v) { level_ = v; }
  double GetGain() const { return gain_; }
  void SetGain(double v) { gain_ = v; }
  bool GetActive() const { return active_; }
  void SetActive(bool v) { active_ = v; }
  std::string GetLabel() const { return label_; }
  void SetLabel(const std::string& v) { label_ = v; }
  TTestShape GetShape() const { return shape_; }
  void SetShape(TTestShape v) { shape_ = v; }
  std::int32_t GetCount() const { return 7; }
  TTestOffset* GetOffset() { return &offset_; }

private:
  std::uint8_t level_ = kLevelDefault;
  double gain_ = 1.5;
  bool active_ = true;
  std::string label_;
  TTestShape shape_ = tsSquare;
  TTestOffset offset_{this, "Offset"};
};

const TClassInfo& TTestWidget::StaticClassInfo() {
  static const TClassInfo info =
      TClassBuilder<TTestWidget>("TTestWidget", &TComponent::StaticClassInfo())
          .Property("Level", &TTestWidget::GetLevel, &TTestWidget::SetLevel, kLevelDefault)
          .Property("Gain", &TTestWidget::GetGain, &TTestWidget::SetGain)
          .Property("Active", &TTestWidget::GetActive, &TTestWidget::SetActive, true)
          .Property("Label", &TTestWidget::GetLabel, &TTestWidget::SetLabel)
          .Enum("Shape", &TTestWidget::GetShape, &TTestWidget::SetShape, TestShapeInfo(), tsSquare)
          .ReadOnly("Count", &TTestWidget::GetCount)
          .Object("Offset", &TTestWidget::GetOffset)
          .Build();
  return info;
}

TEST(PropertyRegistry, DescribesEveryPropertyOnceWithTypeAndDefault) {
  const TClassInfo& info = TTestWidget::StaticClassInfo();
  std::vector<std::string> names;
  for (const TPropertyInfo* p : info.Properties()) names.push_back(p->Name());
  EXPECT_EQ(names, (std::vector<std::string>{"Level", "Gain", "Active", "Label", "Shape", "Count", "Offset"}));

  const TPropertyInfo* level = info.FindProperty("level");  // names are case-insensitive
  ASSERT_NE(level, nullptr);
  EXPECT_EQ(level->TypeName(), "Byte");
  EXPECT_EQ(level->DefaultText(), "100");
  EXPECT_EQ(level->Maximum(), 255);
  EXPECT_FALSE(info.FindProperty("Gain")->HasDefault());
  EXPECT_EQ(info.FindProperty("Shape")->TypeName(), "TTestShape");
  EXPECT_EQ(info.FindProperty("Shape")->DefaultText(), "tsSquare");
  EXPECT_EQ(info.FindProperty("Offset")->Kind(), TPropertyKind::Object);
  EXPECT_EQ(info.FindProperty("Offset")->TypeName(), "TTestOffset");
  EXPECT_TRUE(info.InheritsFrom(TComponent::StaticClassInfo()));
}

TEST(PropertyRegistry, TextAndTypedAccessAgree) {
  TTestWidget w(nullptr);
  SetPropertyText(w, "Level", "42");
  SetPropertyText(w, "Gain", "0.1");
  SetPropertyText(w, "Active", "false");
  SetPropertyText(w, "Label", "a b 'c'");
  SetPropertyText(w, "Shape", "tsStar");
  SetPropertyText(w, "Offset.X", "-3");
  EXPECT_EQ(w.GetLevel(), 42);
  EXPECT_EQ(w.GetGain(), 0.1);
  EXPECT_FALSE(w.GetActive());
  EXPECT_EQ(w.GetLabel(), "a b 'c'");
  EXPECT_EQ(w.GetShape(), tsStar);
  EXPECT_EQ(w.GetOffset()->GetX(), -3);

  EXPECT_EQ(GetPropertyText(w, "Gain"), "0.1");  // shortest exact form
  EXPECT_EQ(GetPropertyText(w, "Active"), "False");
  EXPECT_EQ(GetPropertyText(w, "Shape"), "tsStar");
  EXPECT_EQ(GetPropertyText(w, "Offset.X"), "-3");
  const TPropertyInfo* shape = w.ClassInfo().FindProperty("Shape");
  EXPECT_EQ(std::get<std::int64_t>(shape->GetValue(w)), 2);
  shape->SetValue(w, std::int64_t{0});
  EXPECT_EQ(w.GetShape(), tsRound);
  w.ClassInfo().FindProperty("Gain")->SetValue(w, std::int64_t{3});  // integers widen to floats
  EXPECT_EQ(w.GetGain(), 3.0);
}

TEST(PropertyRegistry, DefaultsAreRecognised) {
  TTestWidget w(nullptr);
  EXPECT_TRUE(PropertiesDifferingFromDefault(w).empty());
  w.SetLevel(1);
  w.GetOffset()->SetX(5);
  EXPECT_EQ(PropertiesDifferingFromDefault(w), (std::vector<std::string>{"Level", "Offset.X"}));
}

// Every failure names the component and the property, and changes nothing.
TEST(PropertyRegistry, BadValuesRaiseErrorsNamingComponentAndProperty) {
  TTestWidget w(nullptr);
  w.SetName("Widget1");
  auto message = [&](const char* path, const char* text) {
    try {
      SetPropertyText(w, path, text);
    } catch (const EFCError& e) {
      return std::string(e.what());
    }
    return std::string("no error");
  };
  EXPECT_EQ(message("Level", "256"), "Widget1.Level: value 256 out of range 0..255");
  EXPECT_EQ(message("Level", "12x"), "Widget1.Level: '12x' is not an integer");
  EXPECT_EQ(message("Gain", "nan"), "Widget1.Gain: 'nan' is not a number");
  EXPECT_EQ(message("Active", "yes"), "Widget1.Active: 'yes' is not True or False");
  EXPECT_EQ(message("Shape", "tsOval"),
            "Widget1.Shape: 'tsOval' is not one of tsRound, tsSquare, tsStar");
  EXPECT_EQ(message("Count", "3"), "Widget1.Count: is read-only");
  EXPECT_EQ(message("Offset.Y", "1"), "Widget1.Offset: TTestOffset has no property 'Y'");
  EXPECT_EQ(message("Offset", "1"), "Widget1.Offset: is an object, not a value");
  EXPECT_EQ(w.GetLevel(), kLevelDefault);
  EXPECT_EQ(w.GetShape(), tsSquare);
}

TEST(PropertyRegistry, AssignCopiesValuesAndSubObjectsButNotAcrossClasses) {
  TTestWidget a(nullptr), b(nullptr);
  a.SetLevel(9);
  a.SetLabel("x");
  a.SetShape(tsRound);
  a.GetOffset()->SetX(11);
  b.Assign(a);
  EXPECT_EQ(b.GetLevel(), 9);
  EXPECT_EQ(b.GetLabel(), "x");
  EXPECT_EQ(b.GetShape(), tsRound);
  EXPECT_EQ(b.GetOffset()->GetX(), 11);

  TComponent plain(nullptr);
  EXPECT_THROW(b.Assign(plain), EFCError);
  EXPECT_THROW(b.GetOffset()->Assign(a), EFCError);
}

class TTestItem : public TCollectionItem {
  FC_DECLARE_CLASS_INFO()
public:
  using TCollectionItem::TCollectionItem;
  std::int32_t GetValue() const { return value_; }
  void SetValue(std::int32_t v) { value_ = v; }

private:
  std::int32_t value_ = 5;
};

const TClassInfo& TTestItem::StaticClassInfo() {
  static const TClassInfo info = TClassBuilder<TTestItem>("TTestItem", &TCollectionItem::StaticClassInfo())
                                     .Property("Value", &TTestItem::GetValue, &TTestItem::SetValue, 5)
                                     .Build();
  return info;
}

TEST(Collection, ItemsAreMadeByTheCollectionAndAssignedAsAWhole) {
  TComponent owner(nullptr);
  owner.SetName("Owner1");
  TTypedCollection<TTestItem> a(&owner, "Items"), b(&owner, "Items");
  a.Add().SetValue(1);
  a.Add().SetValue(2);
  b.Add();
  b.Assign(a);
  ASSERT_EQ(b.Count(), 2);
  EXPECT_EQ(b.Items(0).GetValue(), 1);
  EXPECT_EQ(b.Items(1).GetValue(), 2);
  EXPECT_EQ(b.Items(1).NamePath(), "Owner1.Items[1]");
  b.Delete(0);
  EXPECT_EQ(b.Items(0).GetValue(), 2);
  EXPECT_EQ(b.Items(0).Index(), 0);
  EXPECT_THROW(b.Items(3), EFCError);
}

}  // namespace
}  // namespace fc
