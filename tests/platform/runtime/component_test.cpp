// Component names and ownership.
#include <gtest/gtest.h>

#include "platform/runtime/component.h"
#include "platform/runtime/error.h"

namespace fc {
namespace {

// Counts destructions, to see the owner delete what it owns.
struct TCounted : TComponent {
  TCounted(TComponent* owner, int& deaths) : TComponent(owner), deaths_(deaths) {}
  ~TCounted() override { ++deaths_; }
  int& deaths_;
};

TEST(Component, OwnerDeletesWhatItStillOwns) {
  int deaths = 0;
  auto form = std::make_unique<TComponent>(nullptr);
  new TCounted(form.get(), deaths);
  auto* early = new TCounted(form.get(), deaths);
  EXPECT_EQ(form->ComponentCount(), 2);
  delete early;  // leaves the owner's list
  EXPECT_EQ(form->ComponentCount(), 1);
  form.reset();
  EXPECT_EQ(deaths, 2);
}

TEST(Component, NamesAreIdentifiersUniqueWithinTheOwner) {
  TComponent form(nullptr);
  TComponent a(&form), b(&form);
  a.SetName("Resize1");
  EXPECT_EQ(form.FindComponent("resize1"), &a);
  EXPECT_THROW(b.SetName("RESIZE1"), EFCError);
  EXPECT_THROW(b.SetName("1Resize"), EFCError);
  EXPECT_THROW(b.SetName("Re size"), EFCError);
  b.SetName("Resize_2");
  EXPECT_EQ(b.NamePath(), "Resize_2");
  EXPECT_EQ(form.NamePath(), "<unnamed TComponent>");
  b.SetName("");
  EXPECT_EQ(form.FindComponent("Resize_2"), nullptr);
}

TEST(Component, ClassInfoCreatesComponents) {
  TComponent form(nullptr);
  ASSERT_TRUE(TComponent::StaticClassInfo().CanCreate());
  std::unique_ptr<TComponent> made = TComponent::StaticClassInfo().Create(&form);
  EXPECT_EQ(made->Owner(), &form);
  EXPECT_EQ(form.ComponentCount(), 1);
  made.reset();
  EXPECT_EQ(form.ComponentCount(), 0);
}

}  // namespace
}  // namespace fc
