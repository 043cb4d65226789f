// SPDX-License-Identifier: GPL-3.0-or-later
// The diagnostic capture: the file's lines and the answers on the line.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "LinkTestSupport.h"

using namespace linktest;

namespace {

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

class Capture : public ::testing::Test {
 protected:
  void SetUp() override {
    path = ::testing::TempDir() + "duxel_capture_" +
           ::testing::UnitTest::GetInstance()->current_test_info()->name();
    h.engine->setReceiving(true);
    h.runUntil(0);
    ASSERT_TRUE(h.engine->startCapture(path));
  }
  void TearDown() override { std::remove(path.c_str()); }
  Harness h{10};
  std::string path;
};

TEST_F(Capture, RecordsBecomeLinesAndTheEndClosesTheFile) {
  h.now = 1000;
  h.diarySends("\r");
  h.runUntil(1100);
  EXPECT_TRUE(h.pc->written().empty());  // the first line end is not answered
  h.diarySends("\n");
  h.runUntil(1200);
  // The second is answered with XON one character delay later.
  EXPECT_EQ(Timeline(h.pc->written()), Timeline(std::vector<Burst>{{1110, "\x11", 10}}));
  h.pc->clearWritten();

  h.diarySends(":02000002A0005C:028000004142FB:00000001FF");
  h.runUntil(1300);
  h.diarySends(":02000002A0005C:028000004344F7:008000017F");
  h.runUntil(1400);
  h.diarySends(":000000FF01");
  h.runUntil(1500);
  // "#" after each record; "!" when the transmission ended.
  EXPECT_EQ(Timeline(h.pc->written()),
            Timeline(std::vector<Burst>{{1200, "#", 10}, {1300, "#", 10}, {1400, "!", 10}}));
  EXPECT_FALSE(h.engine->isCapturing());
  // Each frame's bytes in hex and "|"; "#" ends a record, a blank the transmission; then
  // LF CR.
  EXPECT_EQ(ReadFile(path),
            "02000002A000|028000004142|00000001|#\n\r"
            "02000002A000|028000004344|00800001|#\n\r"
            "000000FF| \n\r");
  ASSERT_EQ(h.observer.captures.size(), 1u);
  EXPECT_EQ(h.observer.captures[0].end, CaptureEnd::TransmissionEnded);
  EXPECT_EQ(h.observer.captures[0].records, 2);
  EXPECT_EQ(h.observer.captures[0].badChecksums, 0);
  EXPECT_EQ(h.observer.progress, (std::vector<int>{1, 2}));
  // Afterwards the receiver listens as before.
  h.diarySends("\r\n");
  EXPECT_EQ(Show(std::vector<uint8_t>{h.pc->written().back().byte}), "<XON>");
}

TEST_F(Capture, CrLfPairsWhileWaitingEarnOneXonEach) {
  h.diarySends("\r\n\r\n");
  h.runUntil(100);
  // The first line end is not answered, every later one is.
  EXPECT_EQ(Show(h.pc->writtenBytes()), "<XON><XON><XON>");
}

TEST_F(Capture, BadChecksumsAreCountedNotHidden) {
  h.diarySends("\r\n:02000002A00000:00000001FF:000000FF01");
  h.runUntil(100);
  ASSERT_EQ(h.observer.captures.size(), 1u);
  EXPECT_EQ(h.observer.captures[0].badChecksums, 1);
  EXPECT_EQ(ReadFile(path), "02000002A000|00000001|#\n\r000000FF| \n\r");
}

TEST_F(Capture, ExclamationFromTheDiaryEndsIt) {
  h.diarySends("\r\n:02000002A0005C!");
  h.runUntil(100);
  EXPECT_FALSE(h.engine->isCapturing());
  EXPECT_EQ(h.observer.captures.at(0).end, CaptureEnd::DiaryAborted);
  EXPECT_EQ(ReadFile(path), "02000002A000|");
  EXPECT_EQ(h.pc->written().back().byte, '!');
}

TEST_F(Capture, StopEndsItAndSendsExclamation) {
  h.diarySends("\r\n:02000002A0005C");
  h.runUntil(100);
  h.engine->stopCapture();
  h.runUntil(200);
  EXPECT_EQ(h.observer.captures.at(0).end, CaptureEnd::Stopped);
  EXPECT_EQ(Show(h.pc->writtenBytes()), "<XON>!");
}

TEST_F(Capture, WriteFailureEndsIt) {
  h.pc->failWritesAfter(0);
  h.diarySends("\r\n");
  h.runUntil(100);
  EXPECT_FALSE(h.engine->isCapturing());
  EXPECT_EQ(h.observer.captures.at(0).end, CaptureEnd::WriteFailed);
}

TEST(CaptureFile, UnwritablePathIsRefused) {
  Harness h(10);
  std::string error;
  EXPECT_FALSE(h.engine->startCapture("/nonexistent-folder/x", &error));
  EXPECT_EQ(error, "No such file or directory");
  EXPECT_FALSE(h.engine->isCapturing());
}

}  // namespace
