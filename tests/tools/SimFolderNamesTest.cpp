// The simulator as a program on files in folders as operators name them: it
// replays a recording there, logs there, and names a file there whole.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "FolderNames.h"
#include "SimProcess.h"
#include "ToolRun.h"
#include "link/Protocol.h"
#include "measure/WaveformFile.h"
#include "platform/SystemSockets.h"

namespace kov::sim {
namespace {

using namespace kov::testing;

int Count(const std::string& text, const std::string& part) {
  int n = 0;
  for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
  return n;
}

// How many of the levels the simulator answers to "CF455" "GD" on
// 127.0.0.1:port are -3 dB, read until all 320 are, the connection ends or
// 10 s pass without a byte.
int LevelsOfMinus3(int port) {
  platform::SystemSockets sockets;
  sockets.Startup(0x0202);
  const platform::SocketHandle socket = sockets.Socket(2, 1, 6);  // IPv4, TCP
  std::string reply;
  if (sockets.Connect(socket, link::BuildXportAddr(sockets.InetAddr("127.0.0.1"),
                                                   static_cast<std::uint16_t>(port))) == 0 &&
      sockets.Send(socket, "CF455\r\nGD\r\n", 11) == 11) {
    char buffer[4096];
    while (Count(reply, "L-003 ") < 320 && sockets.WaitReadable(socket, 10000)) {
      const std::int32_t n = sockets.Recv(socket, buffer, sizeof buffer);
      if (n <= 0) break;
      reply.append(buffer, static_cast<std::size_t>(n));
    }
  }
  sockets.Close(socket);
  return Count(reply, "L-003 ");
}

class SimFolderNames : public ::testing::TestWithParam<FolderName> {
 protected:
  void SetUp() override {
    if (SimProcess::Path() == nullptr) GTEST_SKIP() << "XPORT_SIM not set";
  }
  TempDir dir_;
  const std::string folder_ = MakeFolder(dir_, GetParam());
  const std::string recording_ = In(folder_, GetParam().recording);
};

TEST_P(SimFolderNames, ReplaysARecordingThereAndLogsThere) {
  std::string band = "\r\n";
  for (int k = 1; k <= 320; ++k) measure::AppendPointLine(band, 1, k, "-003 ");
  SpitTo(recording_, band + "\r\n");
  const std::string log = In(folder_, "コマンド.log");
  SimProcess sim({"--replay", recording_, "--start", "450", "--log", log});
  ASSERT_TRUE(sim.Running());
  EXPECT_EQ(LevelsOfMinus3(sim.Port()), 320);
  EXPECT_EQ(sim.Stop(), 0);
  EXPECT_NE(Slurp(platform::FsPath(log)).find(" CF455\\r\\n\n"), std::string::npos);
}

TEST_P(SimFolderNames, NamesAMissingRecordingWhole) {
  const ToolRun run = RunProgram(SimProcess::Path(),
                                 {"--port", "0", "--replay", recording_, "--start", "450"}, dir_);
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.err, Redirected("xport-sim: " + recording_ + ": No such file or directory\n"));
}

INSTANTIATE_TEST_SUITE_P(Folders, SimFolderNames, ::testing::ValuesIn(FolderNames()),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace kov::sim
