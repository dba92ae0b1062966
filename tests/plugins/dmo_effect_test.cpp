// The video-effect host with the installed effects: frames against
// references computed here, the cases where frames pass unchanged, and the
// stored identifier and parameters.
#include <gtest/gtest.h>

#include <cmath>

#include "platform/runtime/error.h"
#include "platform/runtime/form_loader.h"
#include "platform/runtime/form_reader.h"
#include "platform/runtime/form_saver.h"
#include "platform/runtime/form_writer.h"
#include "plugins/Fcdmoeffect.h"
#include "plugins/dmo_select_form.h"
#include "tests/support/component_harness.h"

namespace fc::test {
namespace {

struct TEffectRun {
  explicit TEffectRun(const std::string& name = {}) {
    effect.SetName("Effect1");
    if (!name.empty()) effect.SetDmoName(name);
    harness.Feed(*effect.GetInputPin());
    harness.Collect(*effect.GetOutputPin());
  }
  // Streams `frames` and returns what came out.
  std::vector<std::shared_ptr<const TFCImageBuffer>> Run(const std::vector<TFCImageBuffer>& frames) {
    harness.PushStart(frames.front().Width(), frames.front().Height(), 25);
    for (const TFCImageBuffer& frame : frames) harness.PushFrame(frame);
    harness.PushStop();
    return harness.Frames();
  }

  TFCDMOEffect effect{nullptr};
  TComponentHarness harness;
};

// Bytes that reach every value in each channel.
TFCImageBuffer Ramp(int width, int height) { return CountingFrame(width, height, vfRGB24, 3); }

TEST(DMOEffect, Invert0rOnAnOddSizeMatchesTheReference) {
  TEffectRun run("Invert0r");
  const TFCImageBuffer frame = Ramp(13, 7);
  const auto out = run.Run({frame, Ramp(13, 7)});
  ASSERT_EQ(out.size(), 2u);
  ASSERT_EQ(out[0]->Width(), 13);
  std::vector<Ipp8u> expected = BytesOf(frame);
  for (Ipp8u& b : expected) b = static_cast<Ipp8u>(255 - b);
  EXPECT_EQ(BytesOf(*out[0]), expected);
  EXPECT_EQ(run.effect.ErrorCount(), 0);
}

// The brightness of a byte: below the middle setting it scales towards
// black, above it moves the same share of the way towards white.
Ipp8u Brighter(Ipp8u value, double brightness) {
  const double amount = brightness * 2 - 1, x = value / 255.0;
  const double y = amount < 0 ? x * (1 + amount) : x + (1 - x) * amount;
  return static_cast<Ipp8u>(std::floor(y * 255 + 0.5));
}

TEST(DMOEffect, BrightnessWithItsParameterMatchesTheReference) {
  for (double brightness : {0.5, 0.75, 0.3}) {
    TEffectRun run("Brightness");
    run.effect.SetEffectParameters({"Brightness=" + std::to_string(brightness)});
    const TFCImageBuffer frame = Ramp(21, 11);
    const auto out = run.Run({frame});
    ASSERT_EQ(out.size(), 1u);
    std::vector<Ipp8u> expected = BytesOf(frame);
    for (Ipp8u& b : expected) b = Brighter(b, brightness);
    const std::vector<Ipp8u> got = BytesOf(*out[0]);
    int worst = 0;
    for (std::size_t i = 0; i < got.size(); ++i) worst = std::max(worst, std::abs(got[i] - expected[i]));
    EXPECT_LE(worst, 1) << brightness;  // the effect rounds through single precision
    if (brightness == 0.5) {
      EXPECT_EQ(got, BytesOf(frame));
    }
  }
}

TEST(DMOEffect, AFrameOfAnotherSizeRemakesTheEffect) {
  TEffectRun run("Invert0r");
  const auto out = run.Run({Ramp(16, 8), Ramp(9, 17)});
  ASSERT_EQ(out.size(), 2u);
  EXPECT_EQ(out[1]->Height(), 17);
  EXPECT_EQ(out[1]->Read()[0], 255 - 3);
}

// No effect, and frames pass unchanged: nothing named, an unknown name, a
// mixer (released at Reset).
TEST(DMOEffect, WithoutAUsableEffectFramesPassUnchanged) {
  for (const std::string name : {"", "no such effect", "addition"}) {
    TEffectRun run(name);
    int reports = 0;
    run.effect.SetOnError([&](const TFCFailure&) { ++reports; });
    const TFCImageBuffer frame = Ramp(5, 3);
    run.harness.PushStart(5, 3);
    EXPECT_FALSE(run.effect.HasEffect()) << name;
    run.harness.PushFrame(frame);
    run.harness.PushFrame(frame);
    run.harness.PushStop();
    ASSERT_EQ(run.harness.Frames().size(), 2u) << name;
    EXPECT_EQ(BytesOf(*run.harness.Frames()[1]), BytesOf(frame)) << name;
    EXPECT_EQ(reports, name.empty() ? 0 : 1) << name;
  }
  EXPECT_TRUE(TFCDMOEffect::ClassIdFromName("no such effect").IsNull());
}

TEST(DMOEffect, NamesInEnumerationOrderAndTheSelectionDialog) {
  std::vector<std::string> names{"kept"};
  TFCDMOEffect::GetDmoNames(names);
  ASSERT_GT(names.size(), 2u);
  EXPECT_EQ(names[0], "kept");
  EXPECT_EQ(names[1], InstalledEffects().front().name);

  TFCDMOEffect effect(nullptr);
  {
    TScopedModalRunner choose([](TModalForm& form) {
      auto& select = dynamic_cast<TFCDmoSelectForm&>(form);
      for (std::size_t i = 0; i < select.Items().size(); ++i)
        if (select.Items()[i] == "Invert0r") select.SetItemIndex(static_cast<int>(i));
      select.OkClick();
    });
    EXPECT_TRUE(effect.ShowDmoSelectDialog());
  }
  EXPECT_EQ(effect.GetDmoName(), "Invert0r");
  TScopedModalRunner cancel([](TModalForm& form) { dynamic_cast<TFCDmoSelectForm&>(form).CancelClick(); });
  EXPECT_FALSE(effect.ShowDmoSelectDialog());
  EXPECT_EQ(effect.GetDmoName(), "Invert0r");
}

TEST(DMOEffect, RefusedParametersNameTheComponentParameterAndValue) {
  TFCDMOEffect effect(nullptr);
  effect.SetName("Effect1");
  effect.SetDmoName("Brightness");
  for (const char* parameter : {"Glow=0.5", "Brightness=bright", "Brightness"}) {
    try {
      effect.SetEffectParameters({parameter});
      ADD_FAILURE() << parameter;
    } catch (const EFCError& error) {
      const std::string message = error.what();
      EXPECT_NE(message.find("Effect1.EffectParameters"), std::string::npos) << message;
      EXPECT_NE(message.find(parameter), std::string::npos) << message;
    }
  }
  EXPECT_TRUE(effect.GetEffectParameters().empty());
}

const TClassInfo* LookUp(std::string_view name) {
  if (name == "TFCDMOEffect") return &TFCDMOEffect::StaticClassInfo();
  if (name == "TComponent") return &TComponent::StaticClassInfo();
  return nullptr;
}

TEST(DMOEffect, StoredIdentifierFindsTheEffectWhenTheNameNoLongerEnumerates) {
  const std::string id = EffectClassIdOfFile("invert0r.so").ToString();
  const auto root = LoadForm(readForm("object Form1: TComponent\n  object Effect1: TFCDMOEffect\n"
                                      "    DMOInfo = ('" + id + "', 'An old name')\n  end\nend\n",
                                      "a.fcf"),
                             LookUp);
  auto& effect = dynamic_cast<TFCDMOEffect&>(*root->FindComponent("Effect1"));
  EXPECT_EQ(effect.GetDmoName(), "An old name");
  EXPECT_EQ(effect.ClassId().ToString(), id);
  TComponentHarness harness;
  harness.Feed(*effect.GetInputPin());
  harness.Collect(*effect.GetOutputPin());
  harness.PushStart(3, 2);
  harness.PushFrame(Ramp(3, 2));
  harness.PushStop();
  EXPECT_EQ(harness.Frames().at(0)->Read()[0], 255 - 3);
}

TEST(DMOEffect, IdentifierAndParametersSurviveSavingAndLoading) {
  TComponent root(nullptr);
  root.SetName("Form1");
  auto* effect = new TFCDMOEffect(&root);
  effect->SetName("Effect1");
  effect->SetDmoName("Brightness");
  effect->SetEffectParameters({"Brightness=0.6"});
  const std::string saved = writeForm(SaveForm(root));
  const auto loaded = LoadForm(readForm(saved, "saved.fcf"), LookUp);
  auto& again = dynamic_cast<TFCDMOEffect&>(*loaded->FindComponent("Effect1"));
  EXPECT_EQ(again.GetDmoName(), "Brightness");
  EXPECT_EQ(again.ClassId(), effect->ClassId());
  EXPECT_EQ(again.GetEffectParameters(), (std::vector<std::string>{"Brightness=0.6"}));
  EXPECT_THROW(LoadForm(readForm("object Form1: TComponent\n  object Effect1: TFCDMOEffect\n"
                                 "    DMOInfo = ('not an identifier', 'x')\n  end\nend\n",
                                 "b.fcf"),
                        LookUp),
               EFCError);
}

}  // namespace
}  // namespace fc::test
