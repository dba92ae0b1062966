// The player's threads when the stream stops under them: the reader waiting
// for room in a full queue, delivery held downstream. Run under
// ThreadSanitizer too (ctest label "threading").
#include <gtest/gtest.h>

#include <atomic>
#include <future>
#include <thread>

#include "media/Fcasfplayer.h"
#include "tests/media/player_recorder.h"
#include "tests/support/media_files.h"

namespace fc {
namespace {

using namespace std::chrono_literals;
using test::TPlayerRecorder;

// Starts a player of a file whose frames fill the queue while delivery is
// held in the recorder's first frame.
void StartWithFullQueue(TFCASFPlayer& player, TPlayerRecorder& recorder) {
  player.SetEnabled(false);
  player.SetFileName(test::MediaFile("av.wmv"));
  recorder.Attach(player, true);
  recorder.Close();
  ASSERT_TRUE(player.Start());
  for (int i = 0; i < 40; ++i) recorder.clock.Tick();  // let the reader run to the end
  ASSERT_TRUE(recorder.WaitForFrames(1));
  std::this_thread::sleep_for(100ms);  // the queue fills; the reader waits for room
}

TEST(PlayerThreading, StopReturnsWhileTheQueuesAreFull) {
  TPlayerRecorder recorder;
  TFCASFPlayer player(nullptr);
  StartWithFullQueue(player, recorder);
  auto stopping = std::async(std::launch::async, [&] { player.Stop(); });
  std::this_thread::sleep_for(50ms);
  recorder.Open();  // the frame held downstream goes on
  ASSERT_EQ(stopping.wait_for(10s), std::future_status::ready);
  EXPECT_FALSE(player.IsPlaying());
  const auto video = recorder.VideoOperations();
  EXPECT_TRUE(video.back()->Is<TPMStopOperation>()) << "nothing after the stop";
}

TEST(PlayerThreading, DestructionReturnsWhileTheReaderWaitsForRoom) {
  TPlayerRecorder recorder;
  auto player = std::make_unique<TFCASFPlayer>(nullptr);
  StartWithFullQueue(*player, recorder);
  auto destroying = std::async(std::launch::async, [&] { player.reset(); });
  std::this_thread::sleep_for(50ms);
  recorder.Open();
  ASSERT_EQ(destroying.wait_for(10s), std::future_status::ready);
}

TEST(PlayerThreading, StartsAndStopsRepeatedlyWhilePlaying) {
  TPlayerRecorder recorder;
  TFCASFPlayer player(nullptr);
  player.SetEnabled(false);
  player.SetFileName(test::MediaFile("av.wmv"));
  recorder.Attach(player, true);
  std::atomic<bool> ticking{true};
  std::thread clock([&] {
    while (ticking) {
      recorder.clock.Tick();
      std::this_thread::sleep_for(1ms);
    }
  });
  for (int i = 0; i < 5; ++i) {
    ASSERT_TRUE(player.Start());
    std::this_thread::sleep_for(20ms);
    player.Stop();
  }
  ticking = false;
  clock.join();
  // Every start went out with its stop: the streams alternate.
  int open = 0;
  for (const auto& operation : recorder.VideoOperations()) {
    if (operation->Is<TPMStartFrameOperation>()) {
      EXPECT_EQ(open++, 0);
    } else if (operation->Is<TPMStopOperation>()) {
      EXPECT_EQ(open--, 1);
    } else if (operation->Is<TPMSuppliedBufferOperation>()) {
      EXPECT_EQ(open, 1) << "a frame outside its stream";
    }
  }
}

}  // namespace
}  // namespace fc
